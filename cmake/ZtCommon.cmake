# Build rules shared by every folder: warnings, sanitizers, GoogleTest, and the test declarations.
#
#   zt_native_test(NAME n SOURCES ... [LIBS ...] [LABELS ...])    native GoogleTest program, label "native"
#   zt_fuzz_target(NAME n SOURCES ... [LIBS ...] [CORPUS dir])     libFuzzer target; its test runs the corpus and a few seconds
#   zt_lab_test(NAME n COMMAND ... [LAB ...] [TIMEOUT s])          native command run in the PC host of a fresh lab, label "lab"
#   zt_guarded_command(CMD)                                        a shell command that sends; the guard test checks that
#                                                                  it refuses outside the lab and sends nothing
#   zt_windows_gui(target)                                         marks a Windows program as a GUI-subsystem program
#   zt_wine_test(NAME n TARGET t [ARGS ...] [LAB ...] [TIMEOUT s] [LABELS ...])
#                                                                  Windows program run under Wine in a fresh lab, label "wine"
#   zt_wine_test(NAME n COMMAND cmd ... [LAB ...] ...)            a native command (a scenario script that starts
#                                                                  Windows programs with `wine`) in the same setting
# LAB takes the lab's options (lab/zlab --help): --pc-ifaces 2, --host a1=1, --on a1 'command', ...
#   zt_shipped_file(var target)                                    the file of a shipped program the scenarios run
# A tree configured with BUILD_TESTING=OFF (the release tree) declares no Wine tests.

set(ZT_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(ZT_SOURCE_ROOT ${ZT_SOURCE_ROOT} ABSOLUTE)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ZT_LAB ${ZT_SOURCE_ROOT}/lab/zlab)
set(ZT_WINETEST ${ZT_SOURCE_ROOT}/harness/winetest)

if(ZT_WINDOWS)
  file(REMOVE_RECURSE ${CMAKE_BINARY_DIR}/wine-tests)
  # GoogleTest from Debian's sources, compiled by the cross compiler (before our warning flags apply).
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
  add_compile_options(-Wall -Wextra -Werror)
  # The resource compiler takes the same include paths, but no warning flags.
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -O coff")
else()
  find_package(GTest REQUIRED)
  option(ZT_SANITIZE "Build native code with ASan and UBSan" ON)
  add_compile_options(-Wall -Wextra -Werror)
  if(ZT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
  endif()
  set(ZT_CAN_FUZZ OFF)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(ZT_CAN_FUZZ ON)
  endif()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/ZtRelease.cmake)

function(zt_native_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "native;${T_LABELS}" TIMEOUT 120)
endfunction()

function(zt_fuzz_target)
  cmake_parse_arguments(T "" "NAME;CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT ZT_CAN_FUZZ)
    return()
  endif()
  if(NOT T_SECONDS)
    set(T_SECONDS 5)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_compile_options(${T_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_options(${T_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  add_test(NAME ${T_NAME}
           COMMAND ${ZT_SOURCE_ROOT}/tools/run-fuzz $<TARGET_FILE:${T_NAME}> ${T_SECONDS} ${T_CORPUS})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "native;fuzz" TIMEOUT 300)
endfunction()

function(zt_lab_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "COMMAND;LAB;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${ZT_LAB} run ${T_LAB} -- ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "lab;${T_LABELS}" TIMEOUT ${T_TIMEOUT} RESOURCE_LOCK lab_cpu)
endfunction()

function(zt_guarded_command cmd)
  set_property(GLOBAL APPEND PROPERTY ZT_GUARDED_COMMANDS "${cmd}")
endfunction()

function(zt_windows_gui target)
  target_link_options(${target} PRIVATE -mwindows)
endfunction()

# The scenarios run the programs the user gets: given a release tree of the same sources, a scenario's
# $<TARGET_FILE:...> of a shipped program names that tree's copy, at the same place in the tree.
set(ZT_RELEASE_BUILD_DIR "" CACHE PATH "The release tree whose programs the end-to-end scenarios run")
set(ZT_SHIPPED_PROGRAMS Zentrive_Setup Pebblink)

function(zt_shipped_file out target)
  if(ZT_RELEASE_BUILD_DIR)
    get_target_property(dir ${target} BINARY_DIR)
    file(RELATIVE_PATH rel ${CMAKE_BINARY_DIR} ${dir})
    set(${out} ${ZT_RELEASE_BUILD_DIR}/${rel}/${target}${CMAKE_EXECUTABLE_SUFFIX} PARENT_SCOPE)
  else()
    set(${out} $<TARGET_FILE:${target}> PARENT_SCOPE)
  endif()
endfunction()

# Declared in the windows tree, registered in the native (test) tree: each declaration is a small
# CMake file under wine-tests/ that zt_import_windows_tests() includes.
# For a Wine test's LAB: the command on a host that runs the simulator from the native tree beside this one,
# serving CONFIG, logging into LOG (a fresh one each run) and taking control commands on TCP 7000.
function(zt_wine_sim var config log)
  set(${var} "rm -f ${log} && exec ${CMAKE_BINARY_DIR}/../native/appliance/zsim --config ${config} --log ${log} --control-tcp 7000" PARENT_SCOPE)
endfunction()

function(zt_wine_test)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "" "NAME;TARGET;TIMEOUT" "ARGS;LAB;LABELS;COMMAND" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(T_COMMAND)
    # A scenario: a native command (a script that starts Windows programs with `wine`) run in the lab's PC host.
    foreach(program IN LISTS ZT_SHIPPED_PROGRAMS)
      if(TARGET ${program})
        zt_shipped_file(shipped ${program})
        list(TRANSFORM T_COMMAND REPLACE "\\$<TARGET_FILE:${program}>" "${shipped}")
      endif()
    endforeach()
    set(cmd ${ZT_WINETEST} ${T_LAB} --shell -- ${T_COMMAND})
  else()
    set(cmd ${ZT_WINETEST} ${T_LAB} -- $<TARGET_FILE:${T_TARGET}> ${T_ARGS})
  endif()
  list(JOIN cmd "]==] [==[" cmd_text)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/wine-tests/${T_NAME}.cmake CONTENT
"add_test(NAME ${T_NAME} COMMAND [==[${cmd_text}]==])
set_tests_properties(${T_NAME} PROPERTIES LABELS \"wine;${T_LABELS}\" TIMEOUT ${T_TIMEOUT}
  RESOURCE_LOCK wineprefix FIXTURES_REQUIRED wineprefix
  ENVIRONMENT \"WINEPREFIX=\${ZT_WINEPREFIX};ZT_ARTIFACTS=\${ZT_ARTIFACTS}\")
")
endfunction()

macro(zt_import_windows_tests)
  set(ZT_WINDOWS_BUILD_DIR "" CACHE PATH "The windows build tree whose Wine tests this tree runs")
  if(ZT_WINDOWS_BUILD_DIR)
    set(ZT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(ZT_ARTIFACTS ${CMAKE_BINARY_DIR}/artifacts)
    add_test(NAME wine_prefix COMMAND ${ZT_WINETEST} --init-prefix)
    set_tests_properties(wine_prefix PROPERTIES LABELS "wine" FIXTURES_SETUP wineprefix TIMEOUT 300
      RESOURCE_LOCK wineprefix ENVIRONMENT "WINEPREFIX=${ZT_WINEPREFIX}")
    file(GLOB zt_wine_test_files CONFIGURE_DEPENDS ${ZT_WINDOWS_BUILD_DIR}/wine-tests/*.cmake)
    foreach(f IN LISTS zt_wine_test_files)
      include(${f})
    endforeach()
  endif()
endmacro()
