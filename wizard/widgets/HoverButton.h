// CHoverButton: an owner-drawn push button that shows one of three frames of one bitmap strip: normal,
// pressed, and highlighted while the mouse is over it.
#pragma once

#include "Framework.h"
#include "ResourceDib.h"

class CHoverButton : public CButton {
public:
    CHoverButton() = default;
    ~CHoverButton() override;

    // Takes the strip (three frames side by side) and makes the button one frame large, on top of its
    // siblings, at its position. Only the size is read now; the frames are drawn from the resource.
    BOOL LoadButtonBitmap(UINT nIDBitmap);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    int m_bHover = 0;
    int m_bTracking = 0;

    int GetFrameWidth() const { return m_cx; }
    int GetFrameHeight() const { return m_cy; }

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseHover(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();

    ResourceDib m_strip;
    HBITMAP m_hStrip = nullptr;  // only a strip with a colour table
    int m_cx = 0;
    int m_cy = 0;

    DECLARE_MESSAGE_MAP()
};
