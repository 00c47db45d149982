// CTrayIcon over Shell_NotifyIconA.
#include "TrayIcon.h"

#include "String.h"
#include "WinApp.h"
#include "Wnd.h"

#include <cstring>

const CRuntimeClass CTrayIcon::classCTrayIcon = {"CTrayIcon", sizeof(CTrayIcon), nullptr, RUNTIME_CLASS(CCmdTarget)};
const CRuntimeClass* CTrayIcon::GetRuntimeClass() const {
    return RUNTIME_CLASS(CTrayIcon);
}

static_assert(offsetof(NOTIFYICONDATAA, guidItem) == TRAY_ICON_DATA_SIZE, "version-2 layout ends before the GUID");
#ifdef _WIN64
static_assert(TRAY_ICON_DATA_SIZE == 504, "the version-2 record of a 64-bit build");
#endif

CTrayIcon::CTrayIcon(UINT uID) {
    std::memset(&m_nid, 0, sizeof m_nid);
    m_nid.cbSize = TRAY_ICON_DATA_SIZE;
    m_nid.uID = uID;
    CString tip;
    tip.LoadString(uID);
    SetTip(tip);
}

CTrayIcon::~CTrayIcon() {
    UpdateIconFromResource(0);
}

void CTrayIcon::AttachWindow(CWnd* pWnd, UINT uCallbackMessage) {
    m_nid.hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    m_nid.uCallbackMessage = uCallbackMessage;
}

void CTrayIcon::SetTip(LPCSTR lpszTip) {
    // szTip holds 128 characters with its NUL: a longer tip is cut so that the record stays terminated.
    std::strncpy(m_nid.szTip, lpszTip ? lpszTip : "", sizeof m_nid.szTip - 1);
    m_nid.szTip[sizeof m_nid.szTip - 1] = '\0';
}

BOOL CTrayIcon::UpdateIcon(HICON hIcon, LPCSTR lpszTip) {
    DWORD operation;
    m_nid.uFlags = 0;
    if (hIcon) {
        operation = m_bShown ? NIM_MODIFY : NIM_ADD;
        m_nid.hIcon = hIcon;
        m_nid.uFlags = NIF_ICON;
    } else {
        if (!m_bShown) {
            return TRUE;
        }
        operation = NIM_DELETE;
    }
    if (lpszTip) {
        SetTip(lpszTip);
    }
    if (m_nid.szTip[0]) {
        m_nid.uFlags |= NIF_TIP;
    }
    if (m_nid.uCallbackMessage && m_nid.hWnd) {
        m_nid.uFlags |= NIF_MESSAGE;
    }
    BOOL result = Shell_NotifyIconA(operation, &m_nid);
    m_bShown = (operation != NIM_DELETE && result) ? TRUE : FALSE;
    if (operation == NIM_DELETE) {
        m_nid.hIcon = nullptr;  // a removed icon is not brought back when the taskbar restarts
    }
    return result;
}

BOOL CTrayIcon::UpdateIconFromResource(UINT nID) {
    if (nID == 0) {
        return UpdateIcon(nullptr, nullptr);
    }
    CString tip;
    tip.LoadString(nID);
    SetTip(tip);
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
    return UpdateIcon(hIcon, nullptr);
}

BOOL CTrayIcon::Readd() {
    // Also when the first add failed because no taskbar was there yet.
    if (!m_nid.hIcon) {
        return FALSE;
    }
    m_bShown = FALSE;
    return UpdateIcon(m_nid.hIcon, nullptr);
}

LRESULT CTrayIcon::OnTrayEvent(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_nid.uID || (lParam != WM_RBUTTONUP && lParam != WM_LBUTTONDBLCLK)) {
        return 0;
    }
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nid.uID));
    if (!hMenu) {
        return 0;
    }
    HMENU hSubMenu = ::GetSubMenu(hMenu, 0);
    if (!hSubMenu) {
        ::DestroyMenu(hMenu);
        return 0;
    }
    if (lParam == WM_RBUTTONUP) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::SetForegroundWindow(m_nid.hWnd);
        ::TrackPopupMenu(hSubMenu, 0, pt.x, pt.y, 0, m_nid.hWnd, nullptr);
    } else {
        ::SendMessageA(m_nid.hWnd, WM_COMMAND, ::GetMenuItemID(hSubMenu, 0), 0);
    }
    ::DestroyMenu(hMenu);
    return 1;
}
