// CCaptionPainter: paints a gradient caption bar over a window's caption area through a window-procedure
// hook. Each look (inactive, active) is drawn once per caption size into its own bitmap, by the window's
// handler of the paint message, and then only copied.
#pragma once

#include "SubclassWnd.h"

// lParam of the paint message (wParam: the active flag). Absent (lParam 0): drop the caption font.
struct PAINTCAPTIONSTRUCT {
    int m_iWidth;
    int m_iHeight;
    CDC* m_pDC;  // memory context with the caption bitmap selected, origin at the caption's top-left
    int m_bActive;
};

class CCaptionPainter : public CSubclassWnd {
public:
    CCaptionPainter() = default;
    ~CCaptionPainter() override;

    // Hooks pWnd; nPaintMsg is sent to it to paint a caption bitmap. The owner then sets its window text.
    BOOL Install(CWnd* pWnd, UINT nPaintMsg, LPCSTR pszCaption);

    // Builds the current look if needed and copies it onto the window.
    void PaintCaption();

    // The window's handler of the paint message: the gradient, and the caption text over it.
    LRESULT PaintGradientCaption(WPARAM bActive, LPARAM lParam);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int m_bActive = 0;
    UINT m_nPaintMsg = 0;

    // The caption rectangle in window coordinates (origin at the window's top-left corner).
    CRect GetCaptionRect() const;
    CSize GetCachedSize() const { return m_szCaption; }
    HBITMAP GetCaptionBitmap(int nLook) const { return static_cast<HBITMAP>(m_bmCaption[nLook & 1].m_hObject); }
    const CString& GetCaptionText() const { return m_strCaption; }

protected:
    virtual void OnNcPaint(HRGN hRgn);
    virtual BOOL OnNcActivate(BOOL bActive);
    virtual void OnSetText(LPCSTR pszText);

    void DropCaptionBitmaps();

    CBitmap m_bmCaption[2];  // 0 inactive, 1 active
    CSize m_szCaption{0, 0};
    CFont m_fontCaption;
    CString m_strCaption;
};
