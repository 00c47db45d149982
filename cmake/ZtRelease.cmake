# What the user gets: the build type that ships, bytes that a second build from the same commit repeats, and the
# identity (manifest and version information) of the two programs.
#
#   zt_program_identity(target DESCRIPTION text)   gives a Windows program its manifest and VERSIONINFO

set(ZT_PRODUCT "Zentrive")
set(ZT_COMPANY "Zentrive")
set(ZT_COPYRIGHT "Copyright (C) Zentrive")

if(NOT ZT_WINDOWS)
  return()
endif()

# -O2 rather than CMake's -O3: the programs wait on the network and the user, and -O3 only makes them larger.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
option(ZT_LTO "Link the release programs with link-time optimisation" OFF)
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION_RELEASE ${ZT_LTO})

# Same commit, same bytes: no link time stamp, no path of the checkout, no symbols.
add_compile_options("$<$<CONFIG:Release>:-ffile-prefix-map=${ZT_SOURCE_ROOT}=.>")
add_link_options("$<$<CONFIG:Release>:-s;LINKER:--no-insert-timestamp>")

# The dates inside what ships (the zip's entries, the guide, the installer) are the commit's.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ZT_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${ZT_SOURCE_ROOT} log -1 --format=%ct
                  OUTPUT_VARIABLE ZT_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT ZT_SOURCE_DATE_EPOCH)
    set(ZT_SOURCE_DATE_EPOCH 315532800)
  endif()
endif()

# How the windows of both programs meet a display above 96 DPI, and whether they take the themed common controls.
# Not DPI-aware: the skin's bitmaps are drawn for 96 DPI while the pages, in dialog units, grow with the font, so
# a DPI-aware wizard at 144 DPI shows its buttons at two thirds of the page's scale; unaware, Windows scales the
# whole window and it keeps the proportions it has at 96 DPI. Classic controls: version 6 restyles the pages' and
# the utility's standard controls, which the skin does not call for.
set(ZT_MANIFEST_DPI_AWARE "false" CACHE STRING "dpiAware of the programs' manifest (false, true)")
option(ZT_MANIFEST_COMCTL6 "Ask for common controls version 6 in the programs' manifest" OFF)

function(zt_program_identity target)
  cmake_parse_arguments(ID "" "DESCRIPTION" "" ${ARGN})
  get_target_property(ZT_ID_NAME ${target} OUTPUT_NAME)
  if(NOT ZT_ID_NAME)
    set(ZT_ID_NAME ${target})
  endif()
  set(ZT_ID_DESCRIPTION ${ID_DESCRIPTION})
  set(ZT_ID_VERSION4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  string(REPLACE "." "," ZT_ID_VERSION_COMMAS ${ZT_ID_VERSION4})
  # A debug build says so in its version information; the check of the distribution looks for it.
  set(ZT_ID_FILEFLAGS "$<IF:$<CONFIG:Release>,0,VS_FF_DEBUG>")
  set(ZT_ID_DPI "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n    <windowsSettings>\n      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">${ZT_MANIFEST_DPI_AWARE}</dpiAware>\n    </windowsSettings>\n  </application>\n")
  set(ZT_ID_COMCTL "")
  if(ZT_MANIFEST_COMCTL6)
    set(ZT_ID_COMCTL "  <dependency>\n    <dependentAssembly>\n      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n    </dependentAssembly>\n  </dependency>\n")
  endif()
  set(dir ${CMAKE_BINARY_DIR}/identity)
  set(ZT_ID_MANIFEST ${dir}/${ZT_ID_NAME}.manifest)
  configure_file(${ZT_SOURCE_ROOT}/cmake/identity/program.manifest.in ${ZT_ID_MANIFEST} @ONLY)
  configure_file(${ZT_SOURCE_ROOT}/cmake/identity/program.rc.in ${dir}/${ZT_ID_NAME}.rc.in @ONLY)
  file(GENERATE OUTPUT ${dir}/${ZT_ID_NAME}.rc INPUT ${dir}/${ZT_ID_NAME}.rc.in)
  target_sources(${target} PRIVATE ${dir}/${ZT_ID_NAME}.rc)
  set_source_files_properties(${dir}/${ZT_ID_NAME}.rc TARGET_DIRECTORY ${target} PROPERTIES
    GENERATED ON OBJECT_DEPENDS ${ZT_ID_MANIFEST})
endfunction()
