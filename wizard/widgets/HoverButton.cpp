// CHoverButton: hover and leave tracking, and one BitBlt of the frame of the current state.
#include "HoverButton.h"

#include <commctrl.h>

// clang-format off
BEGIN_MESSAGE_MAP(CHoverButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()
// clang-format on

CHoverButton::~CHoverButton() {
    if (m_hStrip) ::DeleteObject(m_hStrip);
}

BOOL CHoverButton::LoadButtonBitmap(UINT nIDBitmap) {
    if (m_hStrip) {
        ::DeleteObject(m_hStrip);
        m_hStrip = nullptr;
        m_cx = m_cy = 0;
    }
    m_hStrip = static_cast<HBITMAP>(
        ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDBitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (m_hStrip) {
        BITMAP bm{};
        ::GetObjectA(m_hStrip, sizeof bm, &bm);
        m_cx = bm.bmWidth / 3;
        m_cy = bm.bmHeight;
    }
    if (m_hWnd) SetWindowPos(&wndTop, 0, 0, m_cx, m_cy, SWP_NOMOVE | SWP_NOOWNERZORDER);
    return TRUE;
}

void CHoverButton::OnMouseMove(UINT, CPoint) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.dwHoverTime = 1;
        tme.hwndTrack = m_hWnd;
        m_bTracking = ::TrackMouseEvent(&tme);
    }
    Default();
}

void CHoverButton::OnMouseHover(UINT, CPoint) {
    m_bHover = 1;
    Invalidate(TRUE);
}

void CHoverButton::OnMouseLeave() {
    m_bTracking = 0;
    m_bHover = 0;
    Invalidate(TRUE);
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!m_hStrip) return;
    HDC hMem = ::CreateCompatibleDC(lpDrawItemStruct->hDC);
    HGDIOBJ hOld = ::SelectObject(hMem, m_hStrip);
    int xSrc = 0;
    if (lpDrawItemStruct->itemState & ODS_SELECTED)
        xSrc = m_cx;
    else if (m_bHover == 1)
        xSrc = 2 * m_cx;
    ::BitBlt(lpDrawItemStruct->hDC, 0, 0, m_cx, m_cy, hMem, xSrc, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
}
