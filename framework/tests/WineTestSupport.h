// Shared pieces of the Wine tests: the test application and a dialog whose handlers record what reaches
// them.
#pragma once

#include <functional>
#include <vector>

#include "FrameworkTestIds.h"
#include "Framework.h"

#define WM_TEST_USER (WM_APP + 1)
#define WM_TEST_OTHER (WM_APP + 2)

class CTestApp : public CWinApp {
public:
    int m_nAbout = 0;

protected:
    afx_msg void OnAppAbout() { ++m_nAbout; }
    DECLARE_MESSAGE_MAP()
};

extern CTestApp theApp;

// IDD_TEST with its edit bound to m_strText (at most 14 characters); every handler appends to m_log.
class CTestDlg : public CDialog {
public:
    explicit CTestDlg(CWnd* pParent = nullptr) : CDialog(IDD_TEST, pParent) {}

    CString m_strText;
    CButton m_button;
    CString m_log;
    BOOL m_bLoadChanged = FALSE;              // loading the edit raised EN_CHANGE (then m_log was cleared)
    std::function<BOOL(CTestDlg*)> m_onInit;  // replaces the result of OnInitDialog when set
    std::function<void(CTestDlg*)> m_onButton;
    std::function<void(CTestDlg*, UINT_PTR)> m_onTimer;
    std::function<LRESULT(CTestDlg*, WPARAM, LPARAM)> m_onUser;

    void Log(LPCSTR fmt, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    afx_msg void OnButton();
    afx_msg void OnEditChange();
    afx_msg void OnTestCommand();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOther(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// Sends the notification a click on control nID of pDlg sends.
inline void ClickButton(CWnd* pDlg, int nID) {
    pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                      reinterpret_cast<LPARAM>(::GetDlgItem(pDlg->m_hWnd, nID)));
}
