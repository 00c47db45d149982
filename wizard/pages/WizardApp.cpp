// CWizardApp: start-up in the order the wizard relies on, and socket clean-up at exit.
#include "WizardApp.h"

#include "../link/ChannelTable.h"
#include "AppFolders.h"
#include "NoticeDlg.h"
#include "SetupWizard.h"

BOOL CWizardApp::InitInstance() {
    AfxEnableControlContainer();
    if (!FirstInstance()) return FALSE;
    Enable3dControlsStatic();
    RecordFolders();
    NetStartup();
    NetGetLocalAddresses(localAddresses, &localAddressCount);
    RunWizard();
    return FALSE;
}

int CWizardApp::ExitInstance() {
    NetCleanup();
    return CWinApp::ExitInstance();
}

BOOL CWizardApp::FirstInstance() {
    CString strTitle;
    strTitle.LoadString(IDS_WIZARD_TITLE);
    HWND hWnd = ::FindWindowA(nullptr, strTitle);
    if (!hWnd) return TRUE;
    if (!::IsIconic(hWnd)) ::ShowWindow(hWnd, SW_MINIMIZE);
    ::ShowWindow(hWnd, SW_RESTORE);
    return FALSE;
}

void CWizardApp::RecordFolders() {
    char szBuffer[MAX_PATH];
    DWORD n = ::GetCurrentDirectoryA(sizeof szBuffer, szBuffer);
    // A result of the buffer's size or more is the size it would need: the folder does not fit.
    if (n == 0 || n >= sizeof szBuffer) szBuffer[0] = '\0';
    MakeAppDir(szBuffer, g_appDir, sizeof g_appDir);

    UINT u = ::GetWindowsDirectoryA(szBuffer, sizeof szBuffer);
    if (u == 0 || u >= sizeof szBuffer) szBuffer[0] = '\0';
    MakeIconDir(szBuffer, g_iconDir, sizeof g_iconDir);
}

INT_PTR CWizardApp::RunWizard() {
    CSetupWizard wizard;
    CWizardDlg& dlg = wizard.m_wizard;
    dlg.SetNoticeRunner(&CNoticeDlg::Run);
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->m_pMainWnd = &dlg;
    const INT_PTR nResult = dlg.DoModal();
    if (pApp && pApp->m_pMainWnd == &dlg) pApp->m_pMainWnd = nullptr;
    return nResult;
}
