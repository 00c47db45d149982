// CNoticeDlg: template 192 with pictures 218, 204 or 205 by the notice kind.
#include "NoticeDlg.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"
#include "../shell/WizardState.h"

// clang-format off
BEGIN_MESSAGE_MAP(CNoticeDlg, CSkinnedDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()
// clang-format on

CNoticeDlg::CNoticeDlg(CWnd* pParent) : CSkinnedDlg(IDD_NOTICE, IDB_NOTICE_SAVED, pParent) {}

void CNoticeDlg::Run(CWnd* pParent) {
    CNoticeDlg notice(pParent);
    notice.DoModal();
}

BOOL CNoticeDlg::OnInitDialog() {
    CSkinnedDlg::OnInitDialog();
    // No caption is drawn; the title names the window for the task list and for automation.
    SetWindowText("Setup notice");
    m_text.SubclassDlgItem(IDC_NOTICE_TEXT, this);
    m_redo.SubclassDlgItem(IDCANCEL, this);
    m_ok.SubclassDlgItem(IDOK, this);
    const auto show = [this](int nId, bool bShow) { GetDlgItem(nId)->ShowWindow(bShow ? SW_SHOW : SW_HIDE); };
    switch (g_noticeKind) {
        case 1: {
            m_nBitmapId = IDB_NOTICE_SHORTCUT;
            show(IDC_NOTICE_ICON, true);
            show(IDC_NOTICE_TEXT, true);
            show(IDOK, false);
            show(IDCANCEL, false);
            char szName[sizeof g_settings.szServerName + 1] = {};
            memcpy(szName, g_settings.szServerName, sizeof g_settings.szServerName);
            CString text;
            text.Format("%s", szName);
            m_text.SetWindowText(text);
            break;
        }
        case 2:
            m_nBitmapId = IDB_NOTICE_SAVED;
            for (int nId : {IDC_NOTICE_ICON, IDC_NOTICE_TEXT, IDOK, IDCANCEL}) show(nId, false);
            break;
        case 3:
            m_nBitmapId = IDB_NOTICE_FAILED;
            show(IDC_NOTICE_ICON, false);
            show(IDC_NOTICE_TEXT, false);
            show(IDOK, true);
            show(IDCANCEL, true);
            break;
        default:
            break;
    }
    m_redo.LoadButtonBitmap(IDB_BTN_REDO);
    m_ok.LoadButtonBitmap(IDB_BTN_EXIT);
    SetTimer(TIMER_NOTICE, NOTICE_PERIOD, nullptr);
    return TRUE;
}

void CNoticeDlg::OnTimer(UINT_PTR nIDEvent) {
    if (g_noticeKind != 3) PostMessage(WM_COMMAND, IDOK);
    CSkinnedDlg::OnTimer(nIDEvent);
}

void CNoticeDlg::OnOK() {
    KillTimer(TIMER_NOTICE);
    CSkinnedDlg::OnOK();
}
