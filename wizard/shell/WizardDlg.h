// CWizardDlg: the setup wizard's window. Borderless and rounded, painted with one picture, with a caption
// painter and the button bar on its right edge; the pages are shown in its placeholder.
#pragma once

#include <initializer_list>

#include "../widgets/CaptionPainter.h"
#include "../widgets/HoverButton.h"
#include "WizardSheet.h"

// The caption painter's paint request to the wizard window.
#define WM_PAINT_CAPTION (WM_USER + 5)

class CWizardDlg : public CWizardSheet {
public:
    explicit CWizardDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

    // Hides every button of the bar except minimise and close, then shows these.
    void ShowButtons(std::initializer_list<int> ids);

    // Shows the outcome notice of g_noticeKind over pParent and returns when it has closed. The notice
    // dialog belongs to the configuration pages: whoever builds the wizard hands it in.
    typedef void (*NoticeRunner)(CWnd* pParent);
    void SetNoticeRunner(NoticeRunner pfnRunNotice) { m_pfnRunNotice = pfnRunNotice; }

    enum { BUTTON_COUNT = 12 };
    CHoverButton m_buttons[BUTTON_COUNT];
    CCaptionPainter m_captionPainter;
    UINT m_nBitmapId;

protected:
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMinimize();
    afx_msg void OnSetup();
    afx_msg void OnNextButton();
    afx_msg void OnBackButton();
    afx_msg void OnSave();
    afx_msg void OnExit();
    afx_msg void OnUserGuide();
    afx_msg void OnUtility();
    afx_msg void OnAdvanced();
    afx_msg void OnShortcut();
    afx_msg LRESULT OnPaintCaption(WPARAM wParam, LPARAM lParam);

    CRgn m_rgnWindow;
    NoticeRunner m_pfnRunNotice = nullptr;

    DECLARE_MESSAGE_MAP()
};
