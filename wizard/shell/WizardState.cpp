// The wizard-wide flags.
#include "WizardState.h"

int g_lastPageIndex = 0;
bool g_settingsRead = false;
bool g_passwordPassed = false;
bool g_redoSearch = false;
bool g_closeAfterSave = false;
bool g_saveAttempted = false;
int g_noticeKind = 0;
char g_appDir[MAX_PATH] = "";
char g_iconDir[MAX_PATH] = "";
