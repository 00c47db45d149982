// CWrongPortDlg: text with the appliance's server name, the exclamation icon, topmost.
#include "WrongPortDlg.h"

#include "NoticeQueues.h"
#include "UsbService.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CWrongPortDlg, CTrayNoticeDlg)
END_MESSAGE_MAP()

CWrongPortDlg::CWrongPortDlg(const CString& path, CWnd* pParent)
    : CTrayNoticeDlg(IDD_WRONG_PORT, pParent), m_path(path) {}

BOOL CWrongPortDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString server;
    ServerOfPath(m_path, server);
    CString text;
    text.Format("Wrong USB flash attach on USB1 of  %s  !", server.GetString());
    ShowNotice(text, IDI_EXCLAMATION);
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
