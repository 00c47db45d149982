// The operation dialog: search and settings write.
#include "OperationDlg.h"

#include <winsock2.h>

#include "OperationRules.h"
#include "../link/ChannelTable.h"
#include "../link/ReplyReceivers.h"
#include "../link/ShowResultMessage.h"
#include "../res/art/ArtIds.h"
#include "../res/resource.h"

namespace {

constexpr UINT SEARCH_RETRY_PERIOD = 2000;
constexpr UINT SET_CONFIG_RETRY_PERIOD = 20000;
constexpr int SEARCH_RETRIES = 3;
constexpr int SET_CONFIG_RETRIES = 7;
constexpr UINT ANIMATION_PERIOD = 300;
constexpr COLORREF DIALOG_COLOUR = RGB(0x30, 0x33, 0x56);

const UINT SEARCH_FRAMES[4] = {IDB_SEARCHING_1, IDB_SEARCHING_2, IDB_SEARCHING_3, IDB_SEARCHING_4};
const UINT SET_CONFIG_FRAMES[4] = {IDB_SAVING_1, IDB_SAVING_2, IDB_SAVING_3, IDB_SAVING_4};

// Program-wide: a new dialog goes on from the frame where the last one stopped.
int s_nAnimationFrame = 0;

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(COperationDlg, CDialog)
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_MESSAGE(WM_NET_SEARCH, OnNetSearch)
    ON_MESSAGE(WM_NET_SETCONFIG, OnNetSetConfig)
END_MESSAGE_MAP()
// clang-format on

COperationDlg::COperationDlg(int nKind, DeviceEntry* pDevice, DeviceSettings* pSettings, COperationHost* pHost,
                             CWnd* pParent)
    : CDialog(IDD_OPERATION, pParent),
      m_nKind(nKind),
      m_pDevice(pDevice),
      m_pSettings(pSettings),
      m_dwDeviceAddress(pDevice ? pDevice->dwAddress : 0),
      m_pHost(pHost) {}

COperationDlg::COperationDlg(int nKind, CStringList* pTargets, COperationHost* pHost, CWnd* pParent)
    : CDialog(IDD_OPERATION, pParent), m_nKind(nKind), m_pTargets(pTargets), m_pHost(pHost) {}

COperationDlg::~COperationDlg() {
    if (m_hChannel) NetCloseChannel(m_hChannel);
}

BOOL COperationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_brush.CreateSolidBrush(DIALOG_COLOUR);
    m_btnStop.SubclassDlgItem(IDCANCEL, this);
    m_btnStop.LoadButtonBitmap(IDB_BTN_STOP);

    // A write tests the subnet of the adapter through which the appliance was found: tested against the first
    // adapter, an appliance on a second interface's segment was sent nothing but broadcasts, which left through
    // the first interface and never reached it.
    uint32_t dwFoundThrough = 0;
    if (m_nKind == OP_SET_CONFIG && m_pDevice && m_pDevice->nInterfaceIndex >= 0 &&
        m_pDevice->nInterfaceIndex < localAddressCount)
        dwFoundThrough = localAddresses[m_pDevice->nInterfaceIndex];
    if (!m_adapter.Choose(dwFoundThrough)) m_adapter.ShowError(m_hWnd);

    m_nTargetIndex = -1;

    if (m_nKind == OP_SEARCH) {
        SetWindowText("Searching for devices");
        nextBindIndex = 0;
        m_hChannel = NetOpenChannel(m_hWnd, WM_NET_SEARCH);
    } else {
        SetWindowText("Setup device");
        m_hChannel = NetOpenChannel(m_hWnd, WM_NET_SETCONFIG);
    }
    // Without the host there are no transaction numbers to send with.
    if (!m_hChannel || !m_pHost) {
        CommunicationError();
        return TRUE;
    }

    const UINT* pFrameIds = m_nKind == OP_SEARCH ? SEARCH_FRAMES : SET_CONFIG_FRAMES;
    for (int i = 0; i < 4; ++i) m_hFrames[i].LoadBitmap(pFrameIds[i]);
    SendDlgItemMessage(IDC_OPERATION_ANIMATION, STM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(static_cast<HBITMAP>(m_hFrames[0])));
    SetTimer(TIMER_ANIMATE, ANIMATION_PERIOD);

    if (m_nKind == OP_SEARCH) {
        StartNextTarget();
    } else {
        GetDlgItem(IDCANCEL)->ShowWindow(SW_HIDE);
        CString strStatus("Connecting  ");
        strStatus += CString(m_pDevice->szServerName,
                             static_cast<int>(strnlen(m_pDevice->szServerName, sizeof m_pDevice->szServerName)));
        SetDlgItemText(IDC_OPERATION_STATUS, strStatus);
        m_nRequestType = PKT_SET_CONFIG;
        m_wSequence = m_pHost->NextSequence();
        m_nRetries = SET_CONFIG_RETRIES;
        SendSetConfigAttempt();
        SetTimer(TIMER_RETRY, SET_CONFIG_RETRY_PERIOD);
    }
    return TRUE;
}

void COperationDlg::CommunicationError() {
    // The operation is over: no tick may try the failed channel again (and show the message once more while
    // this one is read), and no late reply may still be taken for an answer.
    KillTimer(TIMER_RETRY);
    m_wSequence = 0;
    AfxMessageBox(IDS_COMM_ERROR, MB_OK | MB_ICONEXCLAMATION);
    PostMessage(WM_COMMAND, IDCANCEL);
}

void COperationDlg::StartNextTarget() {
    POSITION pos = m_pTargets ? m_pTargets->FindIndex(m_nTargetIndex + 1) : nullptr;
    if (!pos) {
        PostMessage(WM_COMMAND, IDCANCEL);
        return;
    }
    ++m_nTargetIndex;
    const CString& strTarget = m_pTargets->GetAt(pos);
    uint32_t dwTarget = inet_addr(strTarget);  // "255.255.255.255" is the broadcast address

    NetSetDestination(m_hChannel, dwTarget);
    m_dwCurrentDest = dwTarget;
    m_nRequestType = PKT_GET_INFO;
    m_wSequence = m_pHost->NextSequence();
    if (!NetSendRequest(m_hChannel, PKT_GET_INFO, m_wSequence, m_packet)) {
        CommunicationError();
        return;
    }
    m_nRetries = SEARCH_RETRIES;
    SetTimer(TIMER_RETRY, SEARCH_RETRY_PERIOD);
    if (dwTarget == BROADCAST_ADDRESS) {
        SetDlgItemText(IDC_OPERATION_STATUS, "Searching Network ...");
    } else {
        in_addr address;
        address.s_addr = dwTarget;
        CString strStatus("Connecting  ");
        strStatus += inet_ntoa(address);
        SetDlgItemText(IDC_OPERATION_STATUS, strStatus);
    }
}

LRESULT COperationDlg::OnNetSearch(WPARAM, LPARAM) {
    // Every reply already waiting is taken at once, with the channel's notices held meanwhile: each read re-arms
    // the notice while more replies wait, so a round's burst read one a notice cost a message, and a read that
    // found nothing, for every reply. The bound keeps one notice's work short for the messages sent to this
    // thread meanwhile; the restart posts the next notice when replies are still waiting.
    int nLength = 0;
    int nInterfaceIndex = -1;
    NetGetBoundIndex(m_hChannel, &nInterfaceIndex);
    NetHoldNotices(m_hChannel, true);
    for (int n = 0; n < SEARCH_REPLIES_PER_NOTICE && NetReceive(m_hChannel, m_packet, &nLength); ++n) {
        uint32_t dwSender = 0;
        NetGetSender(m_hChannel, &dwSender);
        DeviceInfo info;
        if (!ReceiveSearchReply(m_packet, static_cast<size_t>(nLength), m_wSequence, dwSender, info)) continue;
        m_pHost->AddDevice(info, nInterfaceIndex);
    }
    // A channel that no longer says when replies come cannot search (once: notices held before may still come).
    if (!NetHoldNotices(m_hChannel, false) && m_wSequence != 0) CommunicationError();
    return 0;
}

void COperationDlg::OnSearchTimer() {
    switch (NextSearchStep(m_nRetries, localAddressCount, nextBindIndex)) {
        case SearchStep::Resend:
            --m_nRetries;
            if (!NetResend(m_hChannel)) CommunicationError();
            break;
        case SearchStep::NextInterface:
            m_nRetries = SEARCH_RETRIES;
            // The old channel is closed either way; 0 is no channel.
            m_hChannel = NetReopenChannel(m_hWnd, WM_NET_SEARCH, m_hChannel);
            if (!m_hChannel) CommunicationError();
            break;
        case SearchStep::Finish:
            interfaceWalk = false;
            KillTimer(TIMER_RETRY);
            PostMessage(WM_COMMAND, IDCANCEL);
            break;
    }
}

void COperationDlg::SendSetConfigAttempt() {
    ComposeSetConfig(m_packet, *m_pSettings, m_pDevice->abMac);
    bool bOnSubnet =
        m_adapter.HasAdapter() && IsOnSubnet(m_adapter.GetAddress(), m_adapter.GetMask(), m_dwDeviceAddress);
    uint32_t dwDest = SetConfigDestination(bOnSubnet, m_dwDeviceAddress);
    if (!bOnSubnet) interfaceWalk = true;  // the broadcast leaves through the channel's own socket
    NetSetDestination(m_hChannel, dwDest);
    m_dwCurrentDest = dwDest;
    if (!NetSendRequest(m_hChannel, PKT_SET_CONFIG, m_wSequence, m_packet)) CommunicationError();
}

LRESULT COperationDlg::OnNetSetConfig(WPARAM, LPARAM) {
    int nLength = 0;
    if (!NetReceive(m_hChannel, m_packet, &nLength)) return 0;
    int16_t nStatus = 0;
    if (!ReceiveSetConfigReply(m_packet, static_cast<size_t>(nLength), m_wSequence,
                               static_cast<uint16_t>(m_nRequestType), nStatus))
        return 0;
    m_wSequence = 0;  // later copies are dropped
    if (nStatus == 0) {
        PostMessage(WM_COMMAND, IDOK);
        return 0;
    }
    KillTimer(TIMER_RETRY);
    ShowResultMessage(nStatus);
    PostMessage(WM_COMMAND, IDCANCEL);
    return 0;
}

void COperationDlg::OnSetConfigTimer() {
    if (m_nRetries > 0) {
        --m_nRetries;
        SendSetConfigAttempt();
        return;
    }
    interfaceWalk = false;
    KillTimer(TIMER_RETRY);
    KillTimer(TIMER_ANIMATE);
    m_wSequence = 0;
    PostMessage(WM_COMMAND, IDCANCEL);
}

void COperationDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_ANIMATE) {
        s_nAnimationFrame = (s_nAnimationFrame + 1) % 4;
        SendDlgItemMessage(IDC_OPERATION_ANIMATION, STM_SETIMAGE, IMAGE_BITMAP,
                           reinterpret_cast<LPARAM>(static_cast<HBITMAP>(m_hFrames[s_nAnimationFrame])));
    } else if (nIDEvent == TIMER_RETRY) {
        if (m_nKind == OP_SEARCH)
            OnSearchTimer();
        else
            OnSetConfigTimer();
    } else {
        CDialog::OnTimer(nIDEvent);
    }
}

HBRUSH COperationDlg::OnCtlColor(CDC* pDC, CWnd*, UINT) {
    pDC->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
    pDC->SetBkColor(DIALOG_COLOUR);
    return m_brush;
}

void COperationDlg::End(int nResult) {
    KillTimer(TIMER_ANIMATE);
    KillTimer(TIMER_RETRY);
    EndDialog(nResult);
}

void COperationDlg::OnOK() {
    End(IDOK);
}

void COperationDlg::OnCancel() {
    End(IDCANCEL);
}
