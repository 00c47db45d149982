// PaintPageBackground: the bitmap is loaded and released on every paint; nothing is cached.
#include "PaintPageBackground.h"

void PaintPageBackground(CWnd* pWnd, UINT nBitmapId, int nBackgroundId) {
    CPaintDC dc(pWnd);
    PaintPageBackground(pWnd, &dc, nBitmapId, nBackgroundId);
}

void PaintPageBackground(CWnd* pWnd, CDC* pDC, UINT nBitmapId, int nBackgroundId) {
    HBITMAP hBitmap = static_cast<HBITMAP>(
        ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(nBitmapId)), IMAGE_BITMAP, 0, 0, 0));
    if (!hBitmap) return;
    BITMAP bm{};
    ::GetObjectA(hBitmap, sizeof bm, &bm);

    CRect rcTarget;
    HWND hBackground = ::GetDlgItem(pWnd->m_hWnd, nBackgroundId);
    if (hBackground) {
        ::GetClientRect(hBackground, &rcTarget);
        ::MapWindowPoints(hBackground, pWnd->m_hWnd, reinterpret_cast<POINT*>(&rcTarget), 2);
    } else {
        pWnd->GetClientRect(&rcTarget);
    }

    HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    // The pictures are drawn for 6 x 14 base units and shown at the system's: smooth the stretch.
    const int nOldMode = ::SetStretchBltMode(pDC->m_hDC, HALFTONE);
    POINT ptOldOrg;
    ::SetBrushOrgEx(pDC->m_hDC, 0, 0, &ptOldOrg);
    ::StretchBlt(pDC->m_hDC, rcTarget.left, rcTarget.top, rcTarget.Width(), rcTarget.Height(), hMem, 0, 0,
                 bm.bmWidth - 1, bm.bmHeight - 1, SRCCOPY);
    ::SetBrushOrgEx(pDC->m_hDC, ptOldOrg.x, ptOldOrg.y, nullptr);
    ::SetStretchBltMode(pDC->m_hDC, nOldMode);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::DeleteObject(hBitmap);
}

void ColourPageControl(CDC* pDC, UINT nCtlColor, COLORREF crBack) {
    switch (nCtlColor) {
        case CTLCOLOR_EDIT:
        case CTLCOLOR_LISTBOX:
        case CTLCOLOR_BTN:
        case CTLCOLOR_SCROLLBAR:
        case CTLCOLOR_STATIC:
            pDC->SetTextColor(RGB(0, 0, 0));
            pDC->SetBkColor(crBack);
            break;
        default:
            break;
    }
}
