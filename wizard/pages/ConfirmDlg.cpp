// CConfirmDlg: template 217 with picture 223; only OK and Cancel are shown.
#include "ConfirmDlg.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"
#include "../widgets/PaintPageBackground.h"

// clang-format off
BEGIN_MESSAGE_MAP(CConfirmDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

CConfirmDlg::CConfirmDlg(CWnd* pParent) : CDialog(IDD_CONFIRM, pParent), m_nBitmapId(IDB_CONFIRM) {}

BOOL CConfirmDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // No caption is drawn; the title names the window for the task list and for automation.
    SetWindowText("Confirm settings");
    m_buttons[0].SubclassDlgItem(IDC_CONFIRM_EXIT, this);
    m_buttons[1].SubclassDlgItem(IDOK, this);
    m_buttons[2].SubclassDlgItem(IDCANCEL, this);
    GetDlgItem(IDOK)->ShowWindow(SW_SHOW);
    GetDlgItem(IDCANCEL)->ShowWindow(SW_SHOW);
    for (int nId : {IDC_CONFIRM_EXIT, IDC_CONFIRM_OPTION_1, IDC_CONFIRM_OPTION_2, IDC_CONFIRM_OPTION_3})
        GetDlgItem(nId)->ShowWindow(SW_HIDE);
    m_brush.CreateSolidBrush(RGB(48, 51, 86));
    m_buttons[1].LoadButtonBitmap(IDB_BTN_OK);
    m_buttons[2].LoadButtonBitmap(IDB_BTN_CANCEL);
    m_buttons[0].LoadButtonBitmap(IDB_BTN_CONFIRM_EXIT);
    return TRUE;
}

void CConfirmDlg::OnPaint() {
    PaintPageBackground(this, m_nBitmapId, IDC_DIALOG_BACKGROUND);
}

HBRUSH CConfirmDlg::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->SetBkColor(RGB(48, 51, 86));
    }
    return m_brush;
}
