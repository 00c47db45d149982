// CWizardApp: the application object of Zentrive_Setup. Start-up refuses a second copy, records the
// folders, starts the sockets, runs the wizard window modally with its six pages and ends the program.
#pragma once

#include <windows.h>

#include "../shell/WizardState.h"
#include "Framework.h"

class CWizardApp : public CWinApp {
public:
    CWizardApp() = default;

    // Always FALSE: the program ends when the wizard window has closed.
    BOOL InitInstance() override;
    int ExitInstance() override;

    // TRUE when no window titled "Setup Wizard" exists; else that window is minimised (when it is not
    // already) and restored, and the result is FALSE.
    static BOOL FirstInstance();
    // Fills g_appDir and g_iconDir.
    static void RecordFolders();
    // Builds the wizard window and its pages, registers them and runs the window modally.
    static INT_PTR RunWizard();
};
