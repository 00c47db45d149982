// CServerPage: server name, workgroup (with the network neighbourhood's workgroups), time zone, local date
// and time. Checked as the user types; stored into g_settings on Next.
#pragma once

#include "Framework.h"
#include "WizardPage.h"

class CServerPage : public CWizardPage {
public:
    CServerPage();

    void OnSetActive() override;
    int OnWizardNext() override;

    // 1 when every field was complete and valid at the last check.
    int m_bComplete = 0;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnFieldChange();
    afx_msg void OnWorkgroupDropDown();

    BOOL m_bLoading = FALSE;

    CString Text(int nId, int nMax) const;
    void Store();

    DECLARE_MESSAGE_MAP()
};

// The workgroups of the network neighbourhood: the children of the Microsoft network provider.
void EnumWorkgroups(CStringList& names);
