// The wizard's pages in their order.
#include "SetupWizard.h"

#include "../res/resource.h"

CSetupWizard::CSetupWizard() {
    m_wizard.AddPage(&m_welcome, IDD_WELCOME);
    m_wizard.AddPage(&m_list, IDD_DEVICE_LIST);
    m_wizard.AddPage(&m_ip, IDD_IP_SETTINGS);
    m_wizard.AddPage(&m_server, IDD_SERVER);
    m_wizard.AddPage(&m_summary, IDD_SUMMARY);
    m_wizard.AddPage(&m_finish, IDD_FINISH);
}
