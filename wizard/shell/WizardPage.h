// CWizardPage: base of every wizard page, a modeless child dialog that the sheet creates on its first
// activation. The hooks' defaults let the wizard move on; pages override what they need.
#pragma once

#include "Framework.h"

class CWizardSheet;

// Results of OnWizardNext and OnWizardBack besides a page's template id.
#define WIZARD_NEIGHBOUR 0
#define WIZARD_STAY (-1)

class CWizardPage : public CDialog {
public:
    // nBitmapId: the page's background picture, painted over static 1005 (0: none).
    explicit CWizardPage(UINT nIDTemplate, UINT nBitmapId = 0);

    virtual BOOL OnCreatePage();
    virtual void OnDestroyPage();
    virtual BOOL OnKillActive();
    virtual void OnSetActive();
    virtual BOOL OnQueryCancel();
    // 0: the neighbouring page, -1: stay, otherwise the template id of the page to show.
    virtual int OnWizardBack();
    virtual int OnWizardNext();
    virtual BOOL OnWizardFinish();

    BOOL OnInitDialog() override;
    // A cancel or Enter that reaches a page never ends it.
    void OnCancel() override {}
    void OnOK() override {}

    BOOL m_bCreated = FALSE;
    BOOL m_bActive = FALSE;
    UINT m_nPageId = 0;
    CWizardSheet* m_pSheet = nullptr;
    CFont* m_pFont = nullptr;
    UINT m_nBitmapId = 0;

protected:
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    CBrush m_brWhite;

    DECLARE_MESSAGE_MAP()
};
