// CWinApp and the application-wide Afx functions.
#include "WinApp.h"

#include <commctrl.h>

#include <cstdio>

#include "Dialog.h"
#include "MessageBoxSource.h"
#include "String.h"
#include "TimerSource.h"
#include "Wnd.h"

// clang-format off
BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()
// clang-format on

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszGivenName(lpszAppName) {
    if (lpszAppName) std::snprintf(m_szAppName, sizeof m_szAppName, "%s", lpszAppName);
    m_pszAppName = m_szAppName;
    m_pszExeName = m_szExeName;
}

CWinApp::~CWinApp() = default;

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return static_cast<int>(m_nQuitCode);
}

BOOL CWinApp::OnIdle(LONG) {
    AfxFreeTempMaps();
    return FALSE;
}

int CWinApp::Run() {
    MSG msg;
    LONG lIdleCount = 0;
    for (;;) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (OnIdle(lIdleCount++) || CTimerSource::Current()->OnIdle()) continue;
            ::WaitMessage();
            continue;
        }
        lIdleCount = 0;
        if (msg.message == WM_QUIT) break;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_nQuitCode = msg.wParam;
    return ExitInstance();
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const {
    return ::LoadIconA(nullptr, lpszIconName);
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const {
    return ::LoadCursorA(nullptr, lpszCursorName);
}

// Every thread object is an application object: CWinThread cannot be made on its own.
CWinApp* AfxGetApp() {
    return static_cast<CWinApp*>(AfxGetThread());
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return TRUE;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    AfxGetExeBaseName(pApp->m_szExeName, sizeof pApp->m_szExeName);
    if (!pApp->m_pszGivenName) {
        CString title;
        if (title.LoadString(AFX_IDS_APP_TITLE))
            std::snprintf(pApp->m_szAppName, sizeof pApp->m_szAppName, "%s", title.GetString());
        else
            std::snprintf(pApp->m_szAppName, sizeof pApp->m_szAppName, "%s", pApp->m_szExeName);
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    int nReturnCode = -1;
    if (pApp && AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) {
        if (pApp->InitInstance())
            nReturnCode = pApp->Run();
        else
            nReturnCode = pApp->ExitInstance();
    }
    AfxFreeTempMaps();
    return nReturnCode;
}

namespace {

HWND MessageBoxOwner() {
    if (CDialog* pModal = CDialog::GetInnermostModal()) return pModal->m_hWnd;
    CWnd* pMain = AfxGetMainWnd();
    return pMain && ::IsWindow(pMain->m_hWnd) ? pMain->m_hWnd : nullptr;
}

}  // namespace

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    return CMessageBoxSource::Current()->MessageBox(MessageBoxOwner(), lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType);
}

void AfxEnableControlContainer() {}

int AfxPumpPendingMessages() {
    int n = 0;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ++n;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return n;
}
