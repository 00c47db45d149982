// CIPSettingsPage: DHCP client or fixed address with address, mask and gateway as twelve octet edits,
// checked as the user types and stored into g_settings on Next.
#pragma once

#include "../shell/WizardPage.h"
#include "../shell/FieldRules.h"

class CIPSettingsPage : public CWizardPage {
public:
    CIPSettingsPage();

    void OnSetActive() override;
    int OnWizardNext() override;

    int m_fieldIds[IP_FIELD_COUNT] = {};
    int m_bValid = 1;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnDhcpClient();
    afx_msg void OnFixedAddress();
    afx_msg void OnDhcpServer();
    afx_msg void OnFieldChange();

    void EnableIds(const int* pIds, int nCount, BOOL bEnable);
    CString FieldText(int nIndex) const;

    CEdit m_edits[IP_FIELD_COUNT];
    // Set while OnSetActive writes the octets: the fields not yet written still hold the texts being replaced.
    bool m_bLoading = false;

    DECLARE_MESSAGE_MAP()
};
