// CSafeRemoveDlg: discovery into the tree, the eject query and the disconnects after a confirmed eject.
#include "SafeRemoveDlg.h"

#include "DataExchange.h"
#include "EnumConnections.h"
#include "MessageBoxSource.h"
#include "ShowWNetError.h"
#include "TrayNetwork.h"
#include "UsbService.h"
#include "WaitCursor.h"
#include "resource.h"

#include <winnetwk.h>

namespace {
constexpr int DISK_IMAGE_WIDTH = 18;
constexpr COLORREF DISK_IMAGE_TRANSPARENT = RGB(255, 255, 255);
constexpr DWORD ERROR_CODE_DEVICE_IN_USE = 2404;
}  // namespace

BEGIN_MESSAGE_MAP(CSafeRemoveDlg, CDialog)
ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_EJECT, OnEject)
END_MESSAGE_MAP()

CSafeRemoveDlg::CSafeRemoveDlg(CWnd* pParent)
    : CDialog(IDD_SAFE_REMOVE, pParent),
      m_names(10),
      m_addresses(10),
      m_locals(10),
      m_localNames(10),
      m_remoteNames(10) {}

void CSafeRemoveDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_TREE, m_tree);
}

BOOL CSafeRemoveDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_images.Create(IDB_USB_DISK, DISK_IMAGE_WIDTH, 0, DISK_IMAGE_TRANSPARENT);
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    m_tree.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    OnRefresh();
    return TRUE;
}

void CSafeRemoveDlg::OnRefresh() {
    CWaitCursor wait;
    m_names.RemoveAll();
    m_addresses.RemoveAll();
    m_locals.RemoveAll();
    m_tree.DeleteAllItems();

    CTrayNetwork* network = CTrayNetwork::Current();
    network->DiscoverDisks(m_names, m_addresses, m_locals);
    POSITION name = m_names.GetHeadPosition();
    POSITION address = m_addresses.GetHeadPosition();
    for (LPARAM reply = 0; name && address; reply++) {
        const CString& path = m_names.GetNext(name);
        const CString& from = m_addresses.GetNext(address);
        if (path.IsEmpty() || !network->IsHostReachable(from)) {
            continue;
        }
        CString server;
        ServerOfPath(path, server);
        m_tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, server, 0, 0, 0, 0, reply, TVI_ROOT,
                          TVI_LAST);
    }
    m_tree.SetFocus();
}

void CSafeRemoveDlg::OnEject() {
    CWaitCursor wait;
    m_hEjectItem = m_tree.GetSelectedItem();
    const CString server = m_hEjectItem ? m_tree.GetItemText(m_hEjectItem) : CString();
    if (server.IsEmpty()) {
        m_hEjectItem = nullptr;
        return;
    }

    const int index = static_cast<int>(m_tree.GetItemData(m_hEjectItem));
    POSITION address = m_addresses.FindIndex(index);
    POSITION local = m_locals.FindIndex(index);
    UsbPacket reply{};
    if (!address || !local ||
        !CTrayNetwork::Current()->QueryEject(server, m_locals.GetAt(local), m_addresses.GetAt(address), reply)) {
        CMessageBoxSource::Current()->MessageBox(m_hWnd, "Device not exists.", "Warning", MB_OK | MB_ICONEXCLAMATION);
    } else if (reply.wStatus == STATUS_IN_USE) {
        ShowWNetError(this, ERROR_CODE_DEVICE_IN_USE);
    } else if (reply.wType == PKT_EJECTED) {
        m_tree.DeleteItem(m_hEjectItem);
        if (DisconnectServer(server)) {
            CString text;
            text.Format("The USB disk  %s  can now be safely removed from the system.", server.GetString());
            CMessageBoxSource::Current()->MessageBox(m_hWnd, text, "Information", MB_OK | MB_ICONINFORMATION);
        }
    }
    m_hEjectItem = nullptr;
    m_tree.SetFocus();
}

bool CSafeRemoveDlg::DisconnectServer(const CString& server) {
    m_localNames.RemoveAll();
    m_remoteNames.RemoveAll();
    EnumConnections(m_localNames, m_remoteNames);
    POSITION local = m_localNames.GetHeadPosition();
    POSITION remote = m_remoteNames.GetHeadPosition();
    while (local && remote) {
        const CString& localName = m_localNames.GetNext(local);
        CString remoteServer;
        ServerOfPath(m_remoteNames.GetNext(remote), remoteServer);
        if (remoteServer != server) {
            continue;
        }
        const DWORD result = WNetCancelConnection2A(localName, CONNECT_UPDATE_PROFILE, FALSE);
        if (result != NO_ERROR) {
            ShowWNetError(this, result);
            return false;
        }
    }
    return true;
}
