// CAboutDlg: "About Drivelet Utility", opened by ID_APP_ABOUT.
#pragma once

#include "Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    DECLARE_MESSAGE_MAP()
};
