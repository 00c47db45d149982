// A GUI program built like the products: the library's WinMain, an application object whose hidden main
// frame closes itself through ID_APP_EXIT. Exit code 0 only when the run went init -> create -> loop ->
// close -> exit in that order.
#include "FrameworkTestIds.h"
#include "Framework.h"

namespace {

CString g_log;

class CSequenceFrame : public CFrameWnd {
protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        g_log += "create ";
        PostMessage(WM_COMMAND, ID_APP_EXIT);  // handled once the application's loop runs
        return CFrameWnd::OnCreate(lpcs);
    }
    afx_msg void OnClose() {
        g_log += "close ";
        CFrameWnd::OnClose();
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CSequenceFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()
// clang-format on

class CSequenceApp : public CWinApp {
public:
    BOOL InitInstance() override {
        g_log += "init ";
        CSequenceFrame* pFrame = new CSequenceFrame;
        if (!pFrame->LoadFrame(IDR_TESTFRAME)) return FALSE;
        m_pMainWnd = pFrame;
        return TRUE;
    }
    int ExitInstance() override {
        g_log += "exit";
        int code = CWinApp::ExitInstance();
        return code == 0 && g_log == "init create close exit" && CString(m_pszAppName) == "Framework Tests" ? 0 : 1;
    }
};

CSequenceApp theApp;

}  // namespace
