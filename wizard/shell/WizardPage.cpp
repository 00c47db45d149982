// CWizardPage: hook defaults, black-on-white controls, the page picture.
#include "WizardPage.h"

#include "../widgets/PaintPageBackground.h"

// clang-format off
BEGIN_MESSAGE_MAP(CWizardPage, CDialog)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

CWizardPage::CWizardPage(UINT nIDTemplate, UINT nBitmapId)
    : CDialog(nIDTemplate), m_nPageId(nIDTemplate), m_nBitmapId(nBitmapId) {}

BOOL CWizardPage::OnCreatePage() {
    return TRUE;
}
void CWizardPage::OnDestroyPage() {}
BOOL CWizardPage::OnKillActive() {
    return TRUE;
}
void CWizardPage::OnSetActive() {}
BOOL CWizardPage::OnQueryCancel() {
    return TRUE;
}
int CWizardPage::OnWizardBack() {
    return WIZARD_NEIGHBOUR;
}
int CWizardPage::OnWizardNext() {
    return WIZARD_NEIGHBOUR;
}
BOOL CWizardPage::OnWizardFinish() {
    return TRUE;
}

BOOL CWizardPage::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_brWhite.m_hObject) m_brWhite.CreateSolidBrush(RGB(255, 255, 255));
    return TRUE;
}

void CWizardPage::OnPaint() {
    if (m_nBitmapId)
        PaintPageBackground(this, m_nBitmapId);
    else
        CDialog::OnPaint();
}

HBRUSH CWizardPage::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
    ColourPageControl(pDC, nCtlColor, RGB(255, 255, 255));
    return m_brWhite;
}
