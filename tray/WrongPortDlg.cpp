// CWrongPortDlg: text with the appliance's server name, the exclamation icon, topmost.
#include "WrongPortDlg.h"

#include "DataExchange.h"
#include "NoticeQueues.h"
#include "UsbService.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CWrongPortDlg, CDialog)
END_MESSAGE_MAP()

CWrongPortDlg::CWrongPortDlg(const CString& path, CWnd* pParent) : CDialog(IDD_WRONG_PORT, pParent), m_path(path) {}

void CWrongPortDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NOTICE_ICON, m_icon);
    DDX_Control(pDX, IDC_NOTICE_TEXT, m_text);
}

BOOL CWrongPortDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString server;
    ServerOfPath(m_path, server);
    CString text;
    text.Format("Wrong USB flash attach on USB1 of  %s  !", server.GetString());
    m_text.SetWindowText(text);
    m_icon.SetIcon(::LoadIconA(nullptr, IDI_EXCLAMATION));
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return TRUE;
}

void CWrongPortDlg::OnOK() {
    g_warningActive = false;
    CDialog::OnOK();
}

// Esc and the close box end the warning as OK does, so that later warnings are not dropped for good.
void CWrongPortDlg::OnCancel() {
    g_warningActive = false;
    CDialog::OnCancel();
}
