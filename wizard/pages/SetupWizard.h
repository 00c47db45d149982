// CSetupWizard: the wizard window with its six pages, added in the order the sheet shows them. The program
// runs one; the tests that drive the whole wizard run theirs.
#pragma once

#include "../shell/DeviceListPage.h"
#include "../shell/ServerPage.h"
#include "../shell/WizardDlg.h"
#include "FinishPage.h"
#include "IPSettingsPage.h"
#include "SummaryPage.h"
#include "WelcomePage.h"

class CSetupWizard {
public:
    CSetupWizard();

    CWizardDlg m_wizard;
    CWelcomePage m_welcome;
    CDeviceListPage m_list;
    CIPSettingsPage m_ip;
    CServerPage m_server;
    CSummaryPage m_summary;
    CFinishPage m_finish;
};
