// CFrameWnd.
#include "FrameWnd.h"

#include "WinThread.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()
// clang-format on

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd) {
    m_strTitle.LoadString(nIDResource);
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
    return CreateEx(0, className, m_strTitle, dwDefaultStyle & ~static_cast<DWORD>(FWS_ADDTOTITLE), CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCmdMsg(nID, nCode, wParam, lParam)) return TRUE;
    CWinThread* pApp = AfxGetThread();
    return pApp && pApp->OnCmdMsg(nID, nCode, wParam, lParam);
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}
