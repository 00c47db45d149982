// CTestDlg.
#include "WineTestSupport.h"

#include <cstdarg>

// clang-format off
BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_BN_CLICKED(IDC_BUTTON, OnButton)
    ON_EN_CHANGE(IDC_EDIT, OnEditChange)
    ON_COMMAND(ID_TEST_COMMAND, OnTestCommand)
    ON_WM_TIMER()
    ON_MESSAGE(WM_TEST_USER, OnUser)
    ON_MESSAGE(WM_TEST_OTHER, OnOther)
END_MESSAGE_MAP()
// clang-format on

void CTestDlg::Log(LPCSTR fmt, ...) {
    if (!m_log.IsEmpty()) m_log += " ";
    va_list args;
    va_start(args, fmt);
    m_log.AppendFormatV(fmt, args);
    va_end(args);
}

BOOL CTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_bLoadChanged = m_log == "change";
    m_log.Empty();
    return m_onInit ? m_onInit(this) : TRUE;
}

void CTestDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BUTTON, m_button);
    DDX_Text(pDX, IDC_EDIT, m_strText);
    DDV_MaxChars(pDX, m_strText, 14);
}

void CTestDlg::OnButton() {
    Log("button");
    if (m_onButton) m_onButton(this);
}

void CTestDlg::OnEditChange() {
    Log("change");
}

void CTestDlg::OnTestCommand() {
    Log("command");
}

void CTestDlg::OnTimer(UINT_PTR nIDEvent) {
    if (m_onTimer) m_onTimer(this, nIDEvent);
}

LRESULT CTestDlg::OnUser(WPARAM wParam, LPARAM lParam) {
    Log("user%d:%d", static_cast<int>(wParam), static_cast<int>(lParam));
    return m_onUser ? m_onUser(this, wParam, lParam) : static_cast<LRESULT>(wParam + lParam);
}

LRESULT CTestDlg::OnOther(WPARAM wParam, LPARAM) {
    Log("other%d", static_cast<int>(wParam));
    return 0;
}
