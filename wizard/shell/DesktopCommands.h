// The wizard's desktop commands: the user guide, the tray utility's installer, the offer of the utility
// when it is not running, and the desktop shortcut to an appliance. None of them talks to the appliance;
// every failure ends in a message box and nothing is retried.
//
// CWizardDlg's command handlers call them with the start-up folders and the chosen appliance:
//   1044 User Guide  OpenUserGuide(g_appDir)
//   1054 IPP         RunUtilityInstaller(g_appDir)
//   1052 Advanced    OfferUtility(g_appDir)
//   1046 Shortcut    if (CreateDesktopShortcut(g_settings, g_iconDir)) { g_noticeKind = 1; the notice runner }
#pragma once

#include <windows.h>

#include "../link/DeviceSettings.h"

// The title of the tray utility's hidden main window, by which the wizard knows that the utility runs.
#define UTILITY_WINDOW_TITLE "Pebblink Utility"

// Opens appDir + "Manual.pdf" with the shell's "open"; a failure the shell reports shows its message.
// appDir ends in a backslash. Returns the shell's result (above 32: the guide was handed to its program).
INT_PTR OpenUserGuide(LPCSTR lpszAppDir);

// Starts appDir + "Utility\Setup.exe" without waiting for it; a failure to start shows its message.
// Returns WinExec's result (above 31: started).
UINT RunUtilityInstaller(LPCSTR lpszAppDir);

// When no top-level window is titled "Pebblink Utility", asks whether to install the utility and on Yes
// runs the installer. Returns TRUE when the installer was started.
BOOL OfferUtility(LPCSTR lpszAppDir);

// Writes the desktop shortcut "<server name>.lnk" to \\<server name>, described "Shortcut to <server name>",
// with the icon iconDir + "\Zentrive.ico", overwriting a shortcut of that name. A setter that fails shows
// its message and the shortcut is still saved. Returns TRUE when the link file was saved: the caller then
// shows the shortcut notice (g_noticeKind = 1, CNoticeDlg with template 192).
BOOL CreateDesktopShortcut(const DeviceSettings& settings, LPCSTR lpszIconDir);
