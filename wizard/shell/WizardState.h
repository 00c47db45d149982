// The wizard-wide flags through which the pages steer the wizard window's button bar (program lifetime).
#pragma once

#include <windows.h>

extern int g_lastPageIndex;    // list index of the page active when the last Next or Back started
extern bool g_settingsRead;    // the selected appliance's settings have been read and shown
extern bool g_passwordPassed;  // the device list page allowed leaving it
extern bool g_redoSearch;      // the user chose Redo after a failed apply
extern bool g_closeAfterSave;  // the apply failed and the user chose Exit: close the wizard
extern bool g_saveAttempted;   // the user confirmed the apply
extern int g_noticeKind;       // notice dialog: 1 shortcut created, 2 apply succeeded, 3 apply failed

// Recorded by start-up: the current directory ending in a backslash (the user guide and the utility's
// installer are looked up there), and the Windows drive followed by "Zentrive" (the shortcut's icon).
extern char g_appDir[MAX_PATH];
extern char g_iconDir[MAX_PATH];
