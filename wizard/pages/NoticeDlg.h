// CNoticeDlg: the outcome notice, by g_noticeKind: 1 shortcut created and 2 settings saved close
// themselves after about two seconds (IDOK); 3 saving failed waits for Exit (IDOK) or Redo (IDCANCEL, Esc).
#pragma once

#include "Framework.h"
#include "../widgets/HoverButton.h"
#include "../widgets/SkinnedDlg.h"

constexpr UINT_PTR TIMER_NOTICE = 2000;
constexpr UINT NOTICE_PERIOD = 2000;

class CNoticeDlg : public CSkinnedDlg {
public:
    explicit CNoticeDlg(CWnd* pParent = nullptr);

    // Runs the notice modally over pParent (the wizard window's notice runner).
    static void Run(CWnd* pParent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    CStatic m_text;
    CHoverButton m_redo;  // 2
    CHoverButton m_ok;    // 1, drawn as Exit

    DECLARE_MESSAGE_MAP()
};
