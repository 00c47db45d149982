// CUtilityApp: the application object of the tray utility. One copy runs; it starts Windows Sockets and
// the hidden main frame, which does everything else.
#pragma once

#include "WinApp.h"

class CUtilityApp : public CWinApp {
public:
    CUtilityApp() = default;

    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    afx_msg void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
