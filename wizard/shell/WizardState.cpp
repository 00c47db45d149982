// The wizard's program-wide state.
#include "WizardState.h"

int g_lastPageIndex = 0;
bool g_settingsRead = false;
bool g_passwordPassed = false;
bool g_redoSearch = false;
bool g_closeAfterSave = false;
bool g_saveAttempted = false;
int g_noticeKind = 0;
CDeviceListPage* g_pDeviceListPage = nullptr;
DeviceSettings g_settings = {};
DeviceEntry* g_selectedDevice = nullptr;
int g_nDeviceReadAttempt = 1;
char g_appDir[MAX_PATH] = "";
char g_iconDir[MAX_PATH] = "";
