// The device list page: search, tree of appliances, reading the chosen one, leaving with its password.
#include "DeviceListPage.h"

#include <cstring>

#include "../link/ChannelTable.h"
#include "../link/PacketCatalogue.h"
#include "../link/ReplyReceivers.h"
#include "../link/TimeZones.h"
#include "../ops/OperationDlg.h"
#include "../ops/OperationRules.h"
#include "../ops/PasswordDlg.h"
#include "../res/art/ArtIds.h"
#include "FieldRules.h"
#include "WizardState.h"

namespace {

const char* const kRowNames[] = {"Server Name", "IP Address", "Subnet Mask", "Default Gateway",
                                 "Time Zone",   "Local Date", "Local Time"};
constexpr int ROW_COUNT = 7;

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CDeviceListPage, CWizardPage)
    ON_BN_CLICKED(IDC_DEVICE_REFRESH, OnRefresh)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_DEVICE_TREE, OnSelChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_DEVICE_TREE, OnTreeDblClk)
    ON_MESSAGE(WM_NET_DEVINFO, OnNetDevInfo)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

CDeviceListPage::CDeviceListPage() : CWizardPage(IDD_DEVICE_LIST, IDB_DEVICE_LIST), m_treeOrder(lstrcmpA) {}

uint16_t CDeviceListPage::NextSequence() {
    m_wSequence = NextSequenceValue(m_wSequence);
    return m_wSequence;
}

CTreeCtrl* CDeviceListPage::Tree() const {
    return static_cast<CTreeCtrl*>(GetDlgItem(IDC_DEVICE_TREE));
}

CListCtrl* CDeviceListPage::Values() const {
    return static_cast<CListCtrl*>(GetDlgItem(IDC_DEVICE_VALUES));
}

BOOL CDeviceListPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    m_refresh.SubclassDlgItem(IDC_DEVICE_REFRESH, this);
    m_refresh.LoadButtonBitmap(IDB_BTN_REFRESH);
    m_nRetryPeriod = 2000;

    m_hChannel = NetStartup() ? NetOpenChannel(m_hWnd, WM_NET_DEVINFO) : 0;
    if (!m_hChannel) {
        AfxMessageBox(IDS_COMM_ERROR, MB_OK | MB_ICONEXCLAMATION);
        PostMessage(WM_COMMAND, ID_APP_EXIT);
    }

    CTreeCtrl* pTree = Tree();
    if (m_images.Create(30, 16, ILC_COLOR24 | ILC_MASK, 2, 4)) {
        CBitmap normal, selected;
        if (normal.LoadBitmap(IDB_TREE_DEVICE)) m_images.Add(&normal, RGB(255, 255, 255));
        if (selected.LoadBitmap(IDB_TREE_DEVICE_SELECTED)) m_images.Add(&selected, RGB(255, 255, 255));
        pTree->SetImageList(&m_images, TVSIL_NORMAL);
    }
    pTree->ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    CListCtrl* pList = Values();
    CRect rc;
    pList->GetWindowRect(&rc);
    pList->InsertColumn(0, "Item", LVCFMT_LEFT, rc.Width() / 3);
    pList->InsertColumn(1, "Value", LVCFMT_LEFT, 2 * rc.Width() / 3 - 5);

    m_bClearing = FALSE;
    PostMessage(WM_COMMAND, MAKEWPARAM(IDC_DEVICE_REFRESH, BN_CLICKED));

    if (!m_adapter.Choose()) m_adapter.ShowError(m_hWnd);
    return TRUE;
}

void CDeviceListPage::OnSetActive() {
    if (g_redoSearch) Search();
}

void CDeviceListPage::OnRefresh() {
    Search();
}

void CDeviceListPage::Search() {
    interfaceWalk = true;
    g_settingsRead = false;
    // A read still being retried belongs to an entry that is about to be freed.
    KillTimer(TIMER_RETRY);
    m_wSequence = 0;
    m_targets.AddTail("255.255.255.255");
    g_pDeviceListPage = this;
    m_bClearing = TRUE;
    Tree()->DeleteAllItems();
    m_treeOrder.Clear();
    m_bClearing = FALSE;
    Values()->DeleteAllItems();
    m_devices.RemoveAll();
    g_selectedDevice = nullptr;

    COperationDlg dlg(OP_SEARCH, &m_targets, this, GetParent());
    dlg.DoModal();
    ShowHeldTree();

    m_targets.RemoveAll();
    Tree()->SetFocus();
}

void CDeviceListPage::AddDevice(const DeviceInfo& info, int nInterfaceIndex) {
    bool bCreated = false;
    DeviceEntry* pEntry = m_devices.Add(info, nInterfaceIndex, &bCreated);
    if (!pEntry || !bCreated || !m_hWnd) return;
    CTreeCtrl* pTree = Tree();
    if (!pTree) return;
    if (!m_bTreeHeld) {
        // While replies pour in, the tree neither repaints nor re-sizes its scroll bar for each new item: the
        // items inserted meanwhile show together when the timer ends the hold.
        pTree->SendMessage(WM_SETREDRAW, FALSE, 0);
        m_bTreeHeld = TRUE;
        SetTimer(TIMER_TREE_SHOW, TREE_SHOW_PERIOD, nullptr);
    }
    // The place TVI_SORT would give, without the tree's scan of every item before it.
    const size_t place = m_treeOrder.Place(pEntry->szServerName);
    HTREEITEM hBefore = static_cast<HTREEITEM>(m_treeOrder.ItemBefore(place));
    HTREEITEM hItem = pTree->InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pEntry->szServerName,
                                        0, 1, 0, 0, pEntry->nItemId, TVI_ROOT, hBefore ? hBefore : TVI_FIRST);
    if (hItem) m_treeOrder.Record(place, pEntry->szServerName, hItem);
}

void CDeviceListPage::ShowHeldTree() {
    if (!m_bTreeHeld) return;
    KillTimer(TIMER_TREE_SHOW);
    m_bTreeHeld = FALSE;
    Tree()->SendMessage(WM_SETREDRAW, TRUE, 0);
    Tree()->Invalidate();
}

DeviceEntry* CDeviceListPage::GetSelectedEntry() const {
    if (!m_hWnd) return nullptr;
    CTreeCtrl* pTree = Tree();
    HTREEITEM hItem = pTree->GetSelectedItem();
    if (!hItem) return nullptr;
    return m_devices.FindByItemId(static_cast<int>(pTree->GetItemData(hItem)));
}

void CDeviceListPage::OnSelChanged(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (m_bClearing) return;
    g_settingsRead = false;
    EmptyValueColumn();
    ReadSelected();
}

void CDeviceListPage::OnTreeDblClk(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (Tree()->GetSelectedItem()) GetParent()->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_CLICKED));
}

void CDeviceListPage::ReadSelected() {
    DeviceEntry* pEntry = GetSelectedEntry();
    if (!pEntry) return;
    m_dwDeviceAddress = pEntry->dwAddress;
    deviceInterfaceIndex = pEntry->nInterfaceIndex;
    memset(&m_info, 0, sizeof m_info);
    memcpy(m_info.settings.szServerName, pEntry->szServerName, sizeof m_info.settings.szServerName);

    uint32_t dwDest;
    if (m_dwDeviceAddress == 0) {
        m_dwDeviceAddress = BROADCAST_ADDRESS;
        dwDest = BROADCAST_ADDRESS;
    } else if (IsOnSubnet(m_adapter.GetAddress(), m_adapter.GetMask(), m_dwDeviceAddress)) {
        dwDest = m_dwDeviceAddress;
    } else {
        interfaceWalk = true;
        dwDest = BROADCAST_ADDRESS;
    }
    NetSetDestination(m_hChannel, dwDest);

    const WORD wSequence = NextSequence();
    KillTimer(TIMER_RETRY);
    g_nDeviceReadAttempt = 1;
    memset(m_packet, 0, sizeof m_packet);
    if (NetSendRequest(m_hChannel, PKT_GET_INFO, wSequence, m_packet)) {
        m_nRetries = 3;
        SetTimer(TIMER_RETRY, m_nRetryPeriod, nullptr);
    } else {
        AfxMessageBox(IDS_COMM_ERROR, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CDeviceListPage::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_TREE_SHOW) {
        ShowHeldTree();
        return;
    }
    if (nIDEvent != TIMER_RETRY) return;
    if (m_nRetries > 0) {
        const bool bOnSubnet = IsOnSubnet(m_adapter.GetAddress(), m_adapter.GetMask(), m_dwDeviceAddress);
        NetSetDestination(m_hChannel, RetryDestination(m_nRetries, bOnSubnet, m_dwDeviceAddress));
        NetResend(m_hChannel);
        --m_nRetries;
    } else if (g_nDeviceReadAttempt < localAddressCount) {
        const int hChannel = NetReopenChannel(m_hWnd, WM_NET_DEVINFO, m_hChannel);
        if (hChannel) m_hChannel = hChannel;
        m_nRetries = 3;
        interfaceWalk = false;
        ++g_nDeviceReadAttempt;
    } else {
        g_nDeviceReadAttempt = 1;
        KillTimer(TIMER_RETRY);
        if (!GetSelectedEntry()) Values()->DeleteAllItems();
        m_wSequence = 0;
    }
}

LRESULT CDeviceListPage::OnNetDevInfo(WPARAM, LPARAM) {
    int nLength = 0;
    if (!NetReceive(m_hChannel, m_packet, &nLength)) return 0;
    DeviceEntry* pEntry = GetSelectedEntry();
    if (!pEntry) return 0;
    uint32_t dwSender = 0;
    NetGetSender(m_hChannel, &dwSender);
    DeviceInfo info;
    if (!ReceiveDeviceReadReply(m_packet, static_cast<size_t>(nLength), m_wSequence, pEntry->abMac, dwSender, info))
        return 0;

    KillTimer(TIMER_RETRY);
    m_wSequence = 0;
    m_info = info;
    g_settings = info.settings;

    memcpy(pEntry->szServerName, info.settings.szServerName, sizeof pEntry->szServerName);
    pEntry->bPasswordSet = info.bPasswordSet;
    pEntry->dwAddress = dwSender;
    CTreeCtrl* pTree = Tree();
    pTree->SetItemText(pTree->GetSelectedItem(), pEntry->szServerName);
    // The renamed item stays where it is, so the tree is no longer in the order kept for the search's inserts;
    // only a new search, which empties the tree, inserts again.
    m_treeOrder.Clear();
    ShowValues();
    return 0;
}

void CDeviceListPage::EmptyValueColumn() {
    CListCtrl* pList = Values();
    for (int i = 0; i < pList->GetItemCount(); ++i) pList->SetItemText(i, 1, "");
}

void CDeviceListPage::ShowValues() {
    CListCtrl* pList = Values();
    if (pList->GetItemCount() == 0)
        for (int i = 0; i < ROW_COUNT; ++i) pList->InsertItem(i, kRowNames[i]);
    EmptyValueColumn();
    if (m_info.szInfoText[0] == 0) return;
    g_settingsRead = true;
    const DeviceSettings& s = m_info.settings;
    char szAddress[16], szMask[16], szGateway[16];
    FormatDotted(s.abIpAddress, szAddress);
    FormatDotted(s.abSubnetMask, szMask);
    FormatDotted(s.abGateway, szGateway);
    const char* values[ROW_COUNT] = {s.szServerName, szAddress, szMask, szGateway, TimeZoneDisplayName(s.nTimeZone),
                                     s.szDate,       s.szTime};
    for (int i = 0; i < ROW_COUNT; ++i) pList->SetItemText(i, 1, values[i]);
}

int CDeviceListPage::OnWizardNext() {
    DeviceEntry* pEntry = GetSelectedEntry();
    if (!pEntry) return 1;
    g_selectedDevice = pEntry;
    g_settings = m_info.settings;
    if (!g_settingsRead) return 1;
    g_passwordPassed = true;
    if (pEntry->bPasswordSet == 0) return WIZARD_NEIGHBOUR;
    CPasswordDlg dlg(pEntry, this, GetParent());
    if (dlg.DoModal() == IDOK) return WIZARD_NEIGHBOUR;
    g_passwordPassed = false;
    return 1;
}

void CDeviceListPage::OnDestroy() {
    KillTimer(TIMER_RETRY);
    KillTimer(TIMER_TREE_SHOW);
    m_bTreeHeld = FALSE;
    if (m_hChannel) NetCloseChannel(m_hChannel);
    m_hChannel = 0;
    m_treeOrder.Clear();
    CWizardPage::OnDestroy();
    if (g_selectedDevice && m_devices.FindByMac(g_selectedDevice->abMac) == g_selectedDevice)
        g_selectedDevice = nullptr;
    m_devices.RemoveAll();
}
