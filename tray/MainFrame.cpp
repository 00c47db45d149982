// CMainFrame: tray icon, notices, the queue steps and the tray menu's commands.
#include "MainFrame.h"

#include "EnumConnections.h"
#include "DriveRemovedDlg.h"
#include "MapDriveDlg.h"
#include "NoticeQueues.h"
#include "QueueBounds.h"
#include "SafeRemoveDlg.h"
#include "TrayNetwork.h"
#include "UsbService.h"
#include "WinApp.h"
#include "WrongPortDlg.h"
#include "resource.h"

namespace {

constexpr const char* MAP_DIALOG_TITLE = "Map Network Drive";
constexpr const char* SAFE_REMOVE_TITLE = "Safely Remove Network USB";
constexpr const char* DIALOG_CLASS = "#32770";

std::vector<std::string> ToVector(const CStringList& list) {
    std::vector<std::string> items;
    items.reserve(static_cast<size_t>(list.GetCount()));
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        items.emplace_back(list.GetNext(pos).GetString());
    }
    return items;
}

// The shell broadcasts this when its taskbar starts (again, after a crash of the shell).
UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_TRAYNOTIFY, OnTrayNotify)
ON_MESSAGE(WM_SOCKETNOTIFY, OnSocketNotify)
ON_MESSAGE(WM_PROCESSQUEUE, OnProcessQueue)
ON_MESSAGE(WM_HOSTCHECKED, OnHostChecked)
ON_COMMAND(ID_MAP_DRIVE, OnMapDrive)
ON_COMMAND(ID_SAFELY_REMOVE, OnSafelyRemove)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_trayIcon(IDR_MAINFRAME), m_nIconID(IDI_UTILITY), m_connLocal(10), m_connRemote(10) {}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    m_strTitle.LoadString(IDS_MAIN_TITLE);
    cs.lpszName = m_strTitle;
    return TRUE;
}

void CMainFrame::PostNcDestroy() {
    if (m_nModalDepth > 0) {
        // A handler of this frame is still running a dialog and returns into this object once the dialog's
        // loop gives up: the object stays (the program is ending), only its icon leaves the tray now.
        m_bWindowGone = true;
        m_trayIcon.UpdateIconFromResource(0);
        return;
    }
    CFrameWnd::PostNcDestroy();
}

INT_PTR CMainFrame::RunModal(CDialog& dlg) {
    m_nModalDepth++;
    const INT_PTR result = dlg.DoModal();
    m_nModalDepth--;
    return result;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarCreatedMessage()) {
        m_trayIcon.Readd();
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    g_mapPaths.RemoveAll();
    g_mapAddresses.RemoveAll();
    g_removedPaths.RemoveAll();

    m_trayIcon.AttachWindow(this, WM_TRAYNOTIFY);
    m_trayIcon.UpdateIcon(AfxGetApp()->LoadIcon(m_nIconID), "Drivelet Utility");

    m_hSocket = OpenListener(m_hWnd, WM_SOCKETNOTIFY, m_nListenerBuffer);
    PostMessage(WM_PROCESSQUEUE, 0, 0);
    return 0;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    return m_trayIcon.OnTrayEvent(wParam, lParam);
}

LRESULT CMainFrame::OnSocketNotify(WPARAM, LPARAM) {
    UsbPacket rec{};
    if (m_hSocket == INVALID_SOCKET || !ReceivePacket(m_hSocket, rec)) {
        return 0;
    }
    if (rec.wLength == 0) {
        return 0;
    }
    const std::string sender(g_senderAddress);
    if ((rec.wType == PKT_EJECTED || rec.wType == PKT_REMOVED) &&
        !g_mappingOrigins.MaySpeakFor(UsbPacketName(rec), sender)) {
        m_nForeignRemovals++;
        return 0;
    }
    // The sender's echo test runs beside the UI thread; the notice waits in the gate for its result.
    uint32_t checkId = 0;
    if (m_gate.Arrive(sender, GatedNotice{rec.wType, UsbPacketName(rec)}, checkId) == CNoticeGate::START_CHECK) {
        CTrayNetwork::Current()->BeginHostCheck(sender.c_str(), m_hWnd, WM_HOSTCHECKED, checkId);
    }
    return 0;
}

LRESULT CMainFrame::OnHostChecked(WPARAM wParam, LPARAM lParam) {
    std::string sender;
    const bool reachable = lParam != 0;
    const std::vector<GatedNotice> passed = m_gate.CheckDone(static_cast<uint32_t>(wParam), reachable, sender);
    if (sender.empty()) {
        return 0;
    }
    m_unanswered.Record(sender, reachable, ::GetTickCount64());
    const CString from(sender.c_str());
    for (const GatedNotice& notice : passed) {
        if (m_bWindowGone) {
            break;
        }
        HandleNotice(notice.wType, CString(notice.name.c_str()), from);
    }
    return 0;
}

void CMainFrame::HandleNotice(uint16_t wType, const CString& name, const CString& sender) {
    switch (wType) {
        case PKT_DISK_INFO:
            if (QueueOffer(name, sender) && !g_mapDlgActive) {
                ProcessMapQueue();
            }
            break;
        case PKT_EJECTED:
        case PKT_REMOVED:
            if (AdmitRemoval(ToVector(g_removedPaths), g_removedDlgActive ? 1 : 0, name.GetString()) !=
                Admission::ADMIT) {
                break;
            }
            g_csRemovedQueue->Lock();
            g_removedPaths.AddTail(name);
            g_csRemovedQueue->Unlock();
            if (!g_removedDlgActive) {
                ProcessRemovedQueue();
            }
            break;
        case PKT_WRONG_PORT:
            if (!g_warningActive) {
                ShowWrongPortWarning(name);
            }
            break;
        default:
            break;
    }
}

bool CMainFrame::QueueOffer(const CString& path, const CString& sender) {
    if (AdmitOffer(ToVector(g_mapPaths), ToVector(g_mapAddresses), g_mapDlgActive ? 1 : 0, path.GetString(),
                   sender.GetString()) != Admission::ADMIT) {
        return false;
    }
    g_csMapQueue->Lock();
    g_mapPaths.AddTail(path);
    g_mapAddresses.AddTail(sender);
    g_csMapQueue->Unlock();
    return true;
}

bool CMainFrame::IsApplianceReachable(const CString& address) {
    const uint64_t now = ::GetTickCount64();
    if (m_unanswered.IsSilent(address.GetString(), now)) {
        return false;
    }
    const bool reachable = CTrayNetwork::Current()->IsHostReachable(address);
    m_unanswered.Record(address.GetString(), reachable, ::GetTickCount64());
    return reachable;
}

LRESULT CMainFrame::OnProcessQueue(WPARAM wParam, LPARAM) {
    if (wParam == QUEUE_MAP) {
        ProcessMapQueue();
    } else if (wParam == QUEUE_REMOVED || wParam == PKT_REMOVED) {
        ProcessRemovedQueue();
    } else {
        OnMapDrive();
    }
    return 0;
}

void CMainFrame::OnMapDrive() {
    if (::FindWindowA(DIALOG_CLASS, MAP_DIALOG_TITLE)) {
        return;
    }
    g_csMapQueue->Lock();
    g_mapPaths.RemoveAll();
    g_mapAddresses.RemoveAll();
    // The replies join the queue within its bounds, as notices do: a host that answers a discovery many
    // times over gets no more offers than one that announces them.
    CStringList names(10), addresses(10), locals(10);
    CTrayNetwork::Current()->DiscoverDisks(names, addresses, locals);
    m_connLocal.RemoveAll();
    m_connRemote.RemoveAll();
    EnumConnections(m_connLocal, m_connRemote);
    g_mappingOrigins.Discovered(ToVector(names), ToVector(addresses), ToVector(m_connRemote));
    for (POSITION name = names.GetHeadPosition(), address = addresses.GetHeadPosition(); name && address;) {
        const CString& path = names.GetNext(name);
        QueueOffer(path, addresses.GetNext(address));
    }
    g_csMapQueue->Unlock();
    ProcessMapQueue();
}

void CMainFrame::OnSafelyRemove() {
    if (::FindWindowA(DIALOG_CLASS, SAFE_REMOVE_TITLE)) {
        return;
    }
    CSafeRemoveDlg dlg;
    RunModal(dlg);
}

void CMainFrame::ProcessMapQueue() {
    if (m_bWindowGone || g_mapPaths.IsEmpty()) {
        return;
    }
    for (;;) {
        m_connLocal.RemoveAll();
        m_connRemote.RemoveAll();
        EnumConnections(m_connLocal, m_connRemote);
        const CString head = g_mapPaths.GetHead();
        if (m_connRemote.Find(head)) {
            DropMapHead();
        } else if (!head.IsEmpty() && IsApplianceReachable(g_mapAddresses.GetHead())) {
            break;
        } else {
            DropMapHead();
        }
        if (g_mapPaths.IsEmpty()) {
            return;
        }
    }
    g_mapDlgActive = true;
    CMapDriveDlg dlg;
    if (RunModal(dlg) == -1) {
        g_mapDlgActive = false;  // no dialog came up to end the chain
    }
}

void CMainFrame::ProcessRemovedQueue() {
    if (m_bWindowGone || g_removedPaths.IsEmpty()) {
        return;
    }
    g_removedDlgActive = true;
    CDriveRemovedDlg dlg;
    if (RunModal(dlg) == -1) {
        g_removedDlgActive = false;
    }
}

void CMainFrame::ShowWrongPortWarning(CString path) {
    g_warningActive = true;
    CWrongPortDlg dlg(path);
    RunModal(dlg);
    g_warningActive = false;
}
