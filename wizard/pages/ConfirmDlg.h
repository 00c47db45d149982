// CConfirmDlg: asks before the settings are written. IDOK (OK) or IDCANCEL (Cancel, Esc).
#pragma once

#include "Framework.h"
#include "../widgets/HoverButton.h"

class CConfirmDlg : public CDialog {
public:
    explicit CConfirmDlg(CWnd* pParent = nullptr);

    UINT m_nBitmapId;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    CHoverButton m_buttons[3];  // 1033, 1, 2
    CBrush m_brush;

    DECLARE_MESSAGE_MAP()
};
