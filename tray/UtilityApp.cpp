// CUtilityApp: single instance by the frame's title, sockets, locks and the frame.
#include "UtilityApp.h"

#include "AboutDlg.h"
#include "MainFrame.h"
#include "NoticeQueues.h"
#include "UsbService.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CUtilityApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

BOOL CUtilityApp::InitInstance() {
    CString title;
    title.LoadString(IDS_MAIN_TITLE);
    if (::FindWindowA(nullptr, title)) {
        return FALSE;
    }
    InitSockets();
    CreateQueueLocks();

    CMainFrame* pFrame = new CMainFrame;
    m_pMainWnd = pFrame;
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        m_pMainWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

int CUtilityApp::ExitInstance() {
    CString title;
    title.LoadString(IDS_MAIN_TITLE);
    if (!::FindWindowA(nullptr, title)) {
        DeleteQueueLocks();
    }
    WSACleanup();
    return CWinApp::ExitInstance();
}

void CUtilityApp::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}
