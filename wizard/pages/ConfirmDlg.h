// CConfirmDlg: asks before the settings are written. IDOK (OK) or IDCANCEL (Cancel, Esc).
#pragma once

#include "Framework.h"
#include "../widgets/HoverButton.h"
#include "../widgets/SkinnedDlg.h"

class CConfirmDlg : public CSkinnedDlg {
public:
    explicit CConfirmDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;

    CHoverButton m_buttons[3];  // 1033, 1, 2
};
