// The IP settings page: enable rules, the field check on every change, load and store.
#include "IPSettingsPage.h"

#include <cstdio>

#include "../res/art/ArtIds.h"
#include "../res/resource.h"
#include "../shell/WizardState.h"
#include "../widgets/CheckNumber.h"

namespace {

const int kFieldIds[IP_FIELD_COUNT] = {
    IDC_IP_ADDRESS_1,     IDC_IP_ADDRESS_2,      IDC_IP_ADDRESS_3,      IDC_IP_ADDRESS_4,      IDC_IP_MASK_1,
    IDC_IP_MASK_2,        IDC_IP_MASK_3,         IDC_IP_MASK_4,         IDC_IP_GATEWAY_1,      IDC_IP_GATEWAY_2,
    IDC_IP_GATEWAY_3,     IDC_IP_GATEWAY_4,      IDC_IP_RANGE_START_1,  IDC_IP_RANGE_START_2,  IDC_IP_RANGE_START_3,
    IDC_IP_RANGE_START_4, IDC_IP_RANGE_FINISH_4, IDC_IP_RANGE_FINISH_1, IDC_IP_RANGE_FINISH_2, IDC_IP_RANGE_FINISH_3,
};

const int kLabels[] = {IDC_IP_ADDRESS_LABEL, IDC_IP_MASK_LABEL, IDC_IP_GATEWAY_LABEL};
const int kRangeLabels[] = {IDC_IP_RANGE_START_LABEL, IDC_IP_RANGE_FINISH_LABEL};

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CIPSettingsPage, CWizardPage)
    ON_BN_CLICKED(IDC_IP_DHCP_CLIENT, OnDhcpClient)
    ON_BN_CLICKED(IDC_IP_FIXED, OnFixedAddress)
    ON_BN_CLICKED(IDC_IP_DHCP_SERVER, OnDhcpServer)
    ON_EN_CHANGE(IDC_IP_ADDRESS_1, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_ADDRESS_2, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_ADDRESS_3, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_ADDRESS_4, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_GATEWAY_1, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_GATEWAY_2, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_GATEWAY_3, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_GATEWAY_4, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_MASK_1, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_MASK_2, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_MASK_3, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_MASK_4, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_RANGE_START_4, OnFieldChange)
    ON_EN_CHANGE(IDC_IP_RANGE_FINISH_4, OnFieldChange)
END_MESSAGE_MAP()
// clang-format on

CIPSettingsPage::CIPSettingsPage() : CWizardPage(IDD_IP_SETTINGS, IDB_IP_SETTINGS) {}

BOOL CIPSettingsPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    for (int i = 0; i < IP_FIELD_COUNT; ++i) {
        m_fieldIds[i] = kFieldIds[i];
        m_edits[i].SubclassDlgItem(static_cast<UINT>(kFieldIds[i]), this);
        // The first three octets of the range are copies of the address and get no limit.
        const bool bCopy = (i >= 12 && i <= 14) || i >= 17;
        if (!bCopy) m_edits[i].LimitText(3);
    }
    return TRUE;
}

void CIPSettingsPage::EnableIds(const int* pIds, int nCount, BOOL bEnable) {
    for (int i = 0; i < nCount; ++i)
        if (CWnd* pWnd = GetDlgItem(pIds[i])) pWnd->EnableWindow(bEnable);
}

void CIPSettingsPage::OnDhcpServer() {
    const BOOL bOn = IsDlgButtonChecked(IDC_IP_DHCP_SERVER) == BST_CHECKED;
    EnableIds(kRangeLabels, 2, bOn);
    EnableIds(m_fieldIds + 12, 8, bOn);
}

void CIPSettingsPage::OnDhcpClient() {
    EnableIds(kLabels, 3, FALSE);
    const int others[] = {IDC_IP_DHCP_SERVER};
    EnableIds(others, 1, FALSE);
    EnableIds(kRangeLabels, 2, FALSE);
    EnableIds(m_fieldIds, IP_FIELD_COUNT, FALSE);
}

void CIPSettingsPage::OnFixedAddress() {
    EnableIds(kLabels, 3, TRUE);
    const int others[] = {IDC_IP_DHCP_SERVER};
    EnableIds(others, 1, TRUE);
    EnableIds(m_fieldIds, 12, TRUE);
    OnDhcpServer();
}

CString CIPSettingsPage::FieldText(int nIndex) const {
    char szText[5] = "";
    GetDlgItemText(m_fieldIds[nIndex], szText, sizeof szText);
    return CString(szText);
}

void CIPSettingsPage::OnFieldChange() {
    if (m_bLoading) return;
    m_bValid = 1;
    CString texts[IP_FIELD_COUNT];
    const char* pTexts[IP_FIELD_COUNT];
    for (int i = 0; i < IP_FIELD_COUNT; ++i) {
        texts[i] = FieldText(i);
        pTexts[i] = texts[i];
    }
    const bool bFixed = IsDlgButtonChecked(IDC_IP_FIXED) == BST_CHECKED;
    const bool bServer = IsDlgButtonChecked(IDC_IP_DHCP_SERVER) == BST_CHECKED;
    const IpCheckOutcome o = CheckIpFields(pTexts, bFixed, bServer);
    switch (o.nResult) {
        case CHECK_NUMBER_VALID:
            SetDlgItemText(IDC_IP_RANGE_START_1, texts[0]);
            SetDlgItemText(IDC_IP_RANGE_FINISH_1, texts[0]);
            SetDlgItemText(IDC_IP_RANGE_START_2, texts[1]);
            SetDlgItemText(IDC_IP_RANGE_FINISH_2, texts[1]);
            SetDlgItemText(IDC_IP_RANGE_START_3, texts[2]);
            SetDlgItemText(IDC_IP_RANGE_FINISH_3, texts[2]);
            break;
        case CHECK_NUMBER_NOT_DIGIT:
            m_bValid = 0;
            AfxMessageBox(IDS_NOT_NUMERIC, MB_OK | MB_ICONEXCLAMATION);
            break;
        case CHECK_NUMBER_RANGE: {
            m_bValid = 0;
            char szText[64];
            snprintf(szText, sizeof szText, "Value must be between %d and %d", o.nMin, o.nMax);
            MessageBox(szText, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
            // Emptying raises EN_CHANGE: the nested check decides m_bValid.
            SetDlgItemText(m_fieldIds[o.nField], "");
            break;
        }
        case CHECK_NUMBER_EMPTY:
            m_bValid = 0;
            break;
        default:
            break;
    }
}

void CIPSettingsPage::OnSetActive() {
    if (g_settings.bFixedIp == 0) {
        CheckRadioButton(IDC_IP_DHCP_CLIENT, IDC_IP_FIXED, IDC_IP_DHCP_CLIENT);
        OnDhcpClient();
    } else {
        CheckRadioButton(IDC_IP_DHCP_CLIENT, IDC_IP_FIXED, IDC_IP_FIXED);
        OnFixedAddress();
    }
    CheckDlgButton(IDC_IP_DHCP_SERVER, g_settings.bDhcpServerOff == 0 ? BST_CHECKED : BST_UNCHECKED);
    OnDhcpServer();
    // One check of the loaded values instead of one per octet written: a per-octet check would also judge the
    // octets not yet written, and a pasted letter left in one of them (Next with an invalid page reloads it)
    // would raise its message once for every octet before it.
    const uint8_t* groups[3] = {g_settings.abIpAddress, g_settings.abSubnetMask, g_settings.abGateway};
    m_bLoading = true;
    for (int g = 0; g < 3; ++g)
        for (int k = 0; k < 4; ++k) SetDlgItemInt(m_fieldIds[g * 4 + k], groups[g][k], FALSE);
    m_bLoading = false;
    OnFieldChange();
}

int CIPSettingsPage::OnWizardNext() {
    if (IsDlgButtonChecked(IDC_IP_DHCP_CLIENT) == BST_CHECKED) {
        m_bValid = 1;
        CheckDlgButton(IDC_IP_DHCP_SERVER, BST_UNCHECKED);
        g_settings.bFixedIp = 0;
        g_settings.bDhcpServerOff = 1;
    } else {
        g_settings.bFixedIp = 1;
        for (int k = 0; k < 4; ++k) {
            g_settings.abIpAddress[k] = OctetValue(FieldText(k));
            g_settings.abSubnetMask[k] = OctetValue(FieldText(4 + k));
            g_settings.abGateway[k] = OctetValue(FieldText(8 + k));
        }
        g_settings.bDhcpServerOff = 1;
    }
    return m_bValid == 1 ? WIZARD_NEIGHBOUR : static_cast<int>(IDD_IP_SETTINGS);
}
