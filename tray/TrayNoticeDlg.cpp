// CTrayNoticeDlg: the notices' two controls and how a notice is shown.
#include "TrayNoticeDlg.h"

#include "DataExchange.h"
#include "resource.h"

CTrayNoticeDlg::CTrayNoticeDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

void CTrayNoticeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NOTICE_ICON, m_icon);
    DDX_Control(pDX, IDC_NOTICE_TEXT, m_text);
}

void CTrayNoticeDlg::ShowNotice(const CString& text, LPCSTR lpszIcon) {
    m_text.SetWindowText(text);
    m_icon.SetIcon(::LoadIconA(nullptr, lpszIcon));
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}
