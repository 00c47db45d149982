// The admin password check.
#include "PasswordDlg.h"

#include "OperationDlg.h"
#include "OperationRules.h"
#include "../link/ChannelTable.h"
#include "../link/ReplyReceivers.h"
#include "../link/ShowResultMessage.h"
#include "../res/resource.h"

namespace {
constexpr UINT PASSWORD_RETRY_PERIOD = 2000;
constexpr int PASSWORD_RETRIES = 3;
}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CPasswordDlg, CDialog)
    ON_EN_CHANGE(IDC_PASSWORD_EDIT, OnPasswordChange)
    ON_MESSAGE(WM_NET_PASSWORD, OnNetPassword)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_PASSWORD_OK, OnCheck)
END_MESSAGE_MAP()
// clang-format on

CPasswordDlg::CPasswordDlg(DeviceEntry* pDevice, COperationHost* pHost, CWnd* pParent)
    : CDialog(IDD_PASSWORD, pParent), m_pDevice(pDevice), m_pHost(pHost) {}

CPasswordDlg::~CPasswordDlg() {
    WipeSecrets();
}

INT_PTR CPasswordDlg::DoModal() {
    INT_PTR nResult = CDialog::DoModal();
    WipeSecrets();
    return nResult;
}

void CPasswordDlg::WipeSecrets() {
    if (m_hChannel) {
        NetCloseChannel(m_hChannel);  // wipes the channel's copy of the request
        m_hChannel = 0;
    }
    SecureZero(m_packet, sizeof m_packet);
    WipePassword();
}

void CPasswordDlg::WipePassword() {
    int nLength = m_strPassword.GetLength();
    if (nLength) {
        SecureZero(m_strPassword.GetBuffer(nLength), static_cast<size_t>(nLength));
        m_strPassword.ReleaseBuffer(0);
    }
}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD_EDIT, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, PASSWORD_MAX_LENGTH);
}

BOOL CPasswordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_nRetries = PASSWORD_RETRIES;
    uint32_t dwFoundThrough = 0;
    if (m_pDevice->nInterfaceIndex >= 0 && m_pDevice->nInterfaceIndex < localAddressCount)
        dwFoundThrough = localAddresses[m_pDevice->nInterfaceIndex];
    m_adapter.Choose(dwFoundThrough);  // without an adapter the appliance counts as off the subnet
    m_hChannel = NetOpenChannel(m_hWnd, WM_NET_PASSWORD);
    if (!m_hChannel || !m_pHost) {
        AfxMessageBox(IDS_COMM_ERROR, MB_OK | MB_ICONEXCLAMATION);
        PostMessage(WM_COMMAND, IDCANCEL);
    }
    return TRUE;
}

void CPasswordDlg::EnableInput(BOOL bEnable) {
    GetDlgItem(IDC_PASSWORD_OK)->EnableWindow(bEnable);
    GetDlgItem(IDC_PASSWORD_EDIT)->EnableWindow(bEnable);
}

void CPasswordDlg::OnPasswordChange() {
    char szText[PASSWORD_MAX_LENGTH + 1] = {};
    GetDlgItemText(IDC_PASSWORD_EDIT, szText, sizeof szText);
    GetDlgItem(IDC_PASSWORD_OK)->EnableWindow(szText[0] != 0);
    SecureZero(szText, sizeof szText);
}

void CPasswordDlg::OnCheck() {
    // The text of an earlier try would otherwise stay behind in a buffer the exchange lets go.
    WipePassword();
    if (!UpdateData(TRUE) || m_strPassword.IsEmpty()) return;
    EnableInput(FALSE);
    m_nRequestType = PKT_CHECK_PASSWORD;
    m_dwExpectedSender = m_pDevice->dwAddress;
    ComposeCheckPassword(m_packet, m_pDevice->abMac, m_strPassword);
    NetSetDestination(m_hChannel, Destination(PASSWORD_RETRIES));
    m_wSequence = m_pHost->NextSequence();
    if (!NetSendRequest(m_hChannel, PKT_CHECK_PASSWORD, m_wSequence, m_packet)) {
        AfxMessageBox(IDS_COMM_ERROR, MB_OK | MB_ICONEXCLAMATION);
        PostMessage(WM_COMMAND, IDCANCEL);
        return;
    }
    m_nRetries = PASSWORD_RETRIES;
    SetTimer(TIMER_RETRY, PASSWORD_RETRY_PERIOD);
}

uint32_t CPasswordDlg::Destination(int nRetries) const {
    const uint32_t dwDevice = m_pDevice->dwAddress;
    return RetryDestination(nRetries, IsOnSubnet(m_adapter.GetAddress(), m_adapter.GetMask(), dwDevice), dwDevice);
}

void CPasswordDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != TIMER_RETRY) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    if (m_nRetries > 0) {
        NetSetDestination(m_hChannel, Destination(m_nRetries));
        --m_nRetries;
        if (!NetResend(m_hChannel)) {
            KillTimer(TIMER_RETRY);
            AfxMessageBox(IDS_COMM_ERROR, MB_OK | MB_ICONEXCLAMATION);
            PostMessage(WM_COMMAND, IDCANCEL);
        }
        return;
    }
    KillTimer(TIMER_RETRY);
    m_wSequence = 0;
    AfxMessageBox(IDS_DEVICE_NO_RESPONSE, MB_OK | MB_ICONEXCLAMATION);
    EnableInput(TRUE);
}

LRESULT CPasswordDlg::OnNetPassword(WPARAM, LPARAM) {
    int nLength = 0;
    if (!NetReceive(m_hChannel, m_packet, &nLength)) return 0;
    int16_t nStatus = 0;
    if (!ReceivePasswordReply(m_packet, static_cast<size_t>(nLength), lastSender, m_dwExpectedSender, m_wSequence,
                              static_cast<uint16_t>(m_nRequestType), nStatus))
        return 0;
    m_wSequence = 0;
    KillTimer(TIMER_RETRY);
    if (nStatus == 0) {
        PostMessage(WM_COMMAND, IDOK);
        return 0;
    }
    ShowResultMessage(nStatus);
    EnableInput(TRUE);
    return 0;
}
