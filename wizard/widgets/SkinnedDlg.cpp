// CSkinnedDlg: painting and control colours of the small dialogs.
#include "SkinnedDlg.h"

#include "PaintPageBackground.h"

namespace {

constexpr COLORREF DIALOG_COLOUR = RGB(48, 51, 86);

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CSkinnedDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

CSkinnedDlg::CSkinnedDlg(UINT nIDTemplate, UINT nBitmapId, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nBitmapId(nBitmapId) {}

BOOL CSkinnedDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_brush.CreateSolidBrush(DIALOG_COLOUR);
    return TRUE;
}

void CSkinnedDlg::OnPaint() {
    PaintPageBackground(this, m_nBitmapId, IDC_DIALOG_BACKGROUND);
}

HBRUSH CSkinnedDlg::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->SetBkColor(DIALOG_COLOUR);
    }
    return m_brush;
}
