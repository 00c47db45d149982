// CSkinnedDlg: base of the wizard's two small dialogs (confirmation, outcome notice). Picture m_nBitmapId
// is painted over static IDC_DIALOG_BACKGROUND; static text is white on the dialogs' blue, which the
// brush also gives every control that asks.
#pragma once

#include "Framework.h"

class CSkinnedDlg : public CDialog {
public:
    CSkinnedDlg(UINT nIDTemplate, UINT nBitmapId, CWnd* pParent);

    UINT m_nBitmapId;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    CBrush m_brush;

    DECLARE_MESSAGE_MAP()
};
