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
    }
    // A true-colour strip is drawn straight from the resource: only its place is kept, so a button hidden at
    // start costs nothing until it is drawn. LR_LOADMAP3DCOLORS changes colour tables only, so a strip with
    // one is loaded as a bitmap to take the system's 3-D colours.
    m_strip = FindResourceDib(AfxGetResourceHandle(), nIDBitmap);
    if (m_strip && m_strip.pInfo->bmiHeader.biBitCount <= 8)
        m_hStrip = static_cast<HBITMAP>(
            ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDBitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    m_cx = m_strip.cx / 3;
    m_cy = m_strip.cy;
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
    int xSrc = 0;
    if (lpDrawItemStruct->itemState & ODS_SELECTED)
        xSrc = m_cx;
    else if (m_bHover == 1)
        xSrc = 2 * m_cx;

    if (!m_hStrip) {
        if (m_strip)
            ::SetDIBitsToDevice(lpDrawItemStruct->hDC, 0, 0, static_cast<DWORD>(m_cx), static_cast<DWORD>(m_cy), xSrc,
                                0, 0, static_cast<UINT>(m_strip.cy), m_strip.pBits, m_strip.pInfo, DIB_RGB_COLORS);
        return;
    }
    HDC hMem = ::CreateCompatibleDC(lpDrawItemStruct->hDC);
    HGDIOBJ hOld = ::SelectObject(hMem, m_hStrip);
    ::BitBlt(lpDrawItemStruct->hDC, 0, 0, m_cx, m_cy, hMem, xSrc, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
}
