// The wizard's program-wide state: the flags through which the pages steer the wizard window's button bar,
// the chosen appliance's record shared by the pages, and the folders recorded at start-up (program lifetime).
#pragma once

#include <windows.h>

#include "../link/DeviceEntry.h"
#include "../link/DeviceSettings.h"

class CDeviceListPage;

extern int g_lastPageIndex;    // list index of the page active when the last Next or Back started
extern bool g_settingsRead;    // the selected appliance's settings have been read and shown
extern bool g_passwordPassed;  // the device list page allowed leaving it
extern bool g_redoSearch;      // the user chose Redo after a failed apply
extern bool g_closeAfterSave;  // the apply failed and the user chose Exit: close the wizard
extern bool g_saveAttempted;   // the user confirmed the apply
extern int g_noticeKind;       // notice dialog: 1 shortcut created, 2 apply succeeded, 3 apply failed

extern CDeviceListPage* g_pDeviceListPage;  // set by the device list page when it searches; keeps the counter
extern DeviceSettings g_settings;           // the chosen appliance's settings being edited
extern DeviceEntry* g_selectedDevice;       // the chosen appliance's entry, owned by the device list page
extern int g_nDeviceReadAttempt;            // local addresses the page's current read has had a round on (1 at start)

extern char g_appDir[MAX_PATH];   // the current directory at start-up, ending in a backslash (user guide, installer)
extern char g_iconDir[MAX_PATH];  // the Windows drive followed by "Zentrive" (the shortcut's icon)
