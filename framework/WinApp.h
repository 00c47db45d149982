// CWinApp: the application object. One global instance of a class derived from it; the library's WinMain
// (AppMain.cpp) runs InitInstance, then a message loop only when InitInstance returned TRUE, and ends the
// process with ExitInstance's result. The Afx functions reach the application from anywhere.
#pragma once

#include <windows.h>

#include "AfxRes.h"
#include "MessageMap.h"
#include "WinThread.h"

class CWnd;

class CWinApp : public CWinThread {
public:
    // lpszAppName NULL: the title is string AFX_IDS_APP_TITLE when the resources have it, else the
    // executable's name without folder and extension.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The process's exit code: the wParam of WM_QUIT when the loop ran, else 0.
    virtual int ExitInstance();
    // The message loop until WM_QUIT; returns ExitInstance().
    virtual int Run();
    // The loop found no message; the base frees temporary objects. TRUE asks for another call.
    virtual BOOL OnIdle(LONG lCount);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
    CWnd* GetMainWnd() const { return m_pMainWnd; }

    // The 3-D control look is the system's own today; kept for start-up code that asks for it.
    BOOL Enable3dControlsStatic() { return TRUE; }

    LPCSTR m_pszExeName = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

protected:
    afx_msg void OnAppExit();

    WPARAM m_nQuitCode = 0;

    DECLARE_MESSAGE_MAP()

private:
    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
    char m_szAppName[MAX_PATH] = "";
    char m_szExeName[MAX_PATH] = "";
    LPCSTR m_pszGivenName;
};

CWinApp* AfxGetApp();

// Through the message-box source (MessageBoxSource.h), captioned with the application's title and owned by
// the innermost modal dialog, else the main window.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Hosted controls need nothing beyond the common controls that AfxWinInit registers.
void AfxEnableControlContainer();

// Fills the application object's instance, names and command line and registers the common controls
// (tree, list, ComboBoxEx). WinMain calls it; a test program calls it once before making windows.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Dispatches every message already queued for this thread, without waiting; returns how many. A WM_QUIT
// is put back for the loop that owns it and ends the pumping.
int AfxPumpPendingMessages();
