// PaintPageBackground: the picture is stretched straight from the resource on every paint; nothing is cached.
#include "PaintPageBackground.h"

#include "ResourceDib.h"

void PaintPageBackground(CWnd* pWnd, UINT nBitmapId, int nBackgroundId) {
    CPaintDC dc(pWnd);
    PaintPageBackground(pWnd, &dc, nBitmapId, nBackgroundId);
}

void PaintPageBackground(CWnd* pWnd, CDC* pDC, UINT nBitmapId, int nBackgroundId) {
    const ResourceDib dib = FindResourceDib(AfxGetResourceHandle(), LOWORD(nBitmapId));
    if (!dib) return;

    CRect rcTarget;
    HWND hBackground = ::GetDlgItem(pWnd->m_hWnd, nBackgroundId);
    if (hBackground) {
        ::GetClientRect(hBackground, &rcTarget);
        ::MapWindowPoints(hBackground, pWnd->m_hWnd, reinterpret_cast<POINT*>(&rcTarget), 2);
    } else {
        pWnd->GetClientRect(&rcTarget);
    }

    // The pictures are drawn for 6 x 14 base units and shown at the system's: smooth the stretch.
    const int nOldMode = ::SetStretchBltMode(pDC->m_hDC, HALFTONE);
    POINT ptOldOrg;
    ::SetBrushOrgEx(pDC->m_hDC, 0, 0, &ptOldOrg);
    // The last column and row of the picture are left out. Rows of a bottom-up bitmap count from its
    // bottom: there the source starts one row up.
    const int ySrc = dib.pInfo->bmiHeader.biHeight > 0 ? 1 : 0;
    ::StretchDIBits(pDC->m_hDC, rcTarget.left, rcTarget.top, rcTarget.Width(), rcTarget.Height(), 0, ySrc, dib.cx - 1,
                    dib.cy - 1, dib.pBits, dib.pInfo, DIB_RGB_COLORS, SRCCOPY);
    ::SetBrushOrgEx(pDC->m_hDC, ptOldOrg.x, ptOldOrg.y, nullptr);
    ::SetStretchBltMode(pDC->m_hDC, nOldMode);
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
