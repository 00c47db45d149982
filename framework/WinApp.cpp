// CWinApp and the application-wide Afx functions.
#include "WinApp.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "Dialog.h"
#include "MessageBoxSource.h"
#include "String.h"
#include "TimerSource.h"
#include "Wnd.h"

namespace {

CWinApp* g_pApp;
char g_szFallbackName[MAX_PATH];

// "C:\dir\Zentrive_Setup.exe" -> "Zentrive_Setup"
void ExeBaseName(char* out, size_t size) {
    char path[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) path[0] = '\0';
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') base = p + 1;
    std::snprintf(out, size, "%s", base);
    if (char* dot = std::strrchr(out, '.')) *dot = '\0';
}

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()
// clang-format on

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszGivenName(lpszAppName), m_pPreviousApp(g_pApp) {
    g_pApp = this;
    if (lpszAppName) std::snprintf(m_szAppName, sizeof m_szAppName, "%s", lpszAppName);
    m_pszAppName = m_szAppName;
    m_pszExeName = m_szExeName;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = m_pPreviousApp;
}

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

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

LPCSTR AfxGetAppName() {
    if (g_pApp && g_pApp->m_pszAppName && *g_pApp->m_pszAppName) return g_pApp->m_pszAppName;
    if (!g_szFallbackName[0]) ExeBaseName(g_szFallbackName, sizeof g_szFallbackName);
    return g_szFallbackName;
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp* pApp = g_pApp;
    if (!pApp) return TRUE;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    ExeBaseName(pApp->m_szExeName, sizeof pApp->m_szExeName);
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

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static std::map<std::string, std::string> registered;
    char name[96];
    std::snprintf(name, sizeof name, "ZtWnd:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
                  static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    auto it = registered.find(name);
    if (it != registered.end()) return it->second.c_str();
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = hCursor ? hCursor : ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
    return registered.emplace(name, name).first->second.c_str();
}

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
