// CNoticeDlg: template 192 with pictures 218, 204 or 205 by the notice kind.
#include "NoticeDlg.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"
#include "../shell/WizardState.h"
#include "../widgets/PaintPageBackground.h"

// clang-format off
BEGIN_MESSAGE_MAP(CNoticeDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

CNoticeDlg::CNoticeDlg(CWnd* pParent) : CDialog(IDD_NOTICE, pParent), m_nBitmapId(IDB_NOTICE_SAVED) {}

void CNoticeDlg::Run(CWnd* pParent) {
    CNoticeDlg notice(pParent);
    notice.DoModal();
}

BOOL CNoticeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
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
    m_brush.CreateSolidBrush(RGB(48, 51, 86));
    m_redo.LoadButtonBitmap(IDB_BTN_REDO);
    m_ok.LoadButtonBitmap(IDB_BTN_EXIT);
    SetTimer(TIMER_NOTICE, NOTICE_PERIOD, nullptr);
    return TRUE;
}

void CNoticeDlg::OnTimer(UINT_PTR nIDEvent) {
    if (g_noticeKind != 3) PostMessage(WM_COMMAND, IDOK);
    CDialog::OnTimer(nIDEvent);
}

void CNoticeDlg::OnOK() {
    KillTimer(TIMER_NOTICE);
    CDialog::OnOK();
}

void CNoticeDlg::OnPaint() {
    PaintPageBackground(this, m_nBitmapId, IDC_DIALOG_BACKGROUND);
}

HBRUSH CNoticeDlg::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->SetBkColor(RGB(48, 51, 86));
    }
    return m_brush;
}
