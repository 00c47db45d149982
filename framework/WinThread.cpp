// CWinThread and the application-wide handles.
#include "WinThread.h"

#include <cstdio>
#include <cstring>

namespace {

CWinThread* g_pThread;
char g_szFallbackName[MAX_PATH];

}  // namespace

void AfxGetExeBaseName(char* out, size_t size) {
    char path[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) path[0] = '\0';
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') base = p + 1;
    std::snprintf(out, size, "%s", base);
    if (char* dot = std::strrchr(out, '.')) *dot = '\0';
}

CWinThread::CWinThread() : m_pPrevious(g_pThread) {
    g_pThread = this;
}

CWinThread::~CWinThread() {
    if (g_pThread == this) g_pThread = m_pPrevious;
}

CWinThread* AfxGetThread() {
    return g_pThread;
}

CWnd* AfxGetMainWnd() {
    return g_pThread ? g_pThread->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pThread && g_pThread->m_hInstance ? g_pThread->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

LPCSTR AfxGetAppName() {
    if (g_pThread && g_pThread->m_pszAppName && *g_pThread->m_pszAppName) return g_pThread->m_pszAppName;
    if (!g_szFallbackName[0]) AfxGetExeBaseName(g_szFallbackName, sizeof g_szFallbackName);
    return g_szFallbackName;
}
