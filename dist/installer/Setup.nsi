; Installer of the tray utility (Pebblink.exe, "Drivelet Utility"), shipped as Utility\Setup.exe beside the
; setup wizard, which starts it without arguments and does not wait. It asks nothing: it installs the program
; under Program Files, adds a Start-menu entry, starts the utility with Windows, registers its uninstaller,
; and starts the utility.
;   makensis -DPROGRAM=path\to\Pebblink.exe -DVERSION=X.Y.Z [-DOUTFILE=Setup.exe] [-DICON=Zentrive.ico] Setup.nsi

Unicode true
Target amd64-unicode

!include "WinMessages.nsh"

; The wizard starts the installer by this very name.
!pragma warning disable 9000

!ifndef PROGRAM
  !error "PROGRAM must name the program to install: makensis -DPROGRAM=path\to\Pebblink.exe"
!endif
!ifndef VERSION
  !error "VERSION must give the release's version: makensis -DVERSION=X.Y.Z"
!endif
!ifndef OUTFILE
  !define OUTFILE "Setup.exe"
!endif

!define PRODUCT "Drivelet Utility"
!define PROGRAM_FILE "Pebblink.exe"
!define WINDOW_TITLE "Pebblink Utility"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pebblink"

Name "${PRODUCT}"
Caption "${PRODUCT} Setup"
OutFile "${OUTFILE}"
!ifdef ICON
  Icon "${ICON}"
  UninstallIcon "${ICON}"
!endif
InstallDir "$PROGRAMFILES64\Zentrive\${PRODUCT}"
RequestExecutionLevel admin
ManifestSupportedOS all
SetCompressor /SOLID lzma
; The installed program is dated by its installation, not by its build: two builds give the same installer.
SetDateSave off
AutoCloseWindow true
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "Zentrive"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "CompanyName" "Zentrive"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) Zentrive"
VIAddVersionKey "OriginalFilename" "Setup.exe"

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running copy holds its file open: ask it to end, and give it up to five seconds.
!macro CLOSE_RUNNING_UTILITY prefix
Function ${prefix}CloseRunningUtility
  StrCpy $1 0
  loop:
    FindWindow $0 "" "${WINDOW_TITLE}"
    StrCmp $0 0 done
    IntCmp $1 50 done
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    Sleep 100
    IntOp $1 $1 + 1
    Goto loop
  done:
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_UTILITY ""
!insertmacro CLOSE_RUNNING_UTILITY "un."

Section "Install"
  SetShellVarContext all
  SetRegView 64
  Call CloseRunningUtility

  SetOutPath "$INSTDIR"
  File "/oname=${PROGRAM_FILE}" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM_FILE}" "" "$INSTDIR\${PROGRAM_FILE}" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${RUN_KEY}" "Pebblink" '"$INSTDIR\${PROGRAM_FILE}"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Zentrive"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_FILE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  Exec '"$INSTDIR\${PROGRAM_FILE}"'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Call un.CloseRunningUtility

  DeleteRegValue HKLM "${RUN_KEY}" "Pebblink"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\${PROGRAM_FILE}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."
SectionEnd
