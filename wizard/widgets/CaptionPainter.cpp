// CCaptionPainter: caption rectangle, non-client painting around it, activation, and the gradient.
#include "CaptionPainter.h"

#include <cstddef>

#include "GradientCaption.h"

namespace {

// The structure of Windows versions before Vista (no iPaddedBorderWidth): 340 bytes here too, since it
// holds no pointers, and accepted by every system.
const UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth) == 340, "pre-Vista NONCLIENTMETRICSA is 340 bytes");

// Shows nothing while the system handles a message that would otherwise draw the frame.
class CHiddenWhile {
public:
    explicit CHiddenWhile(HWND hWnd) : m_hWnd(hWnd) {
        m_lStyle = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
        if (m_lStyle & WS_VISIBLE) ::SetWindowLongPtrA(hWnd, GWL_STYLE, m_lStyle & ~static_cast<LONG_PTR>(WS_VISIBLE));
    }
    ~CHiddenWhile() {
        if (m_lStyle & WS_VISIBLE)
            ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_VISIBLE);
    }
    CHiddenWhile(const CHiddenWhile&) = delete;
    CHiddenWhile& operator=(const CHiddenWhile&) = delete;

private:
    HWND m_hWnd;
    LONG_PTR m_lStyle;
};

}  // namespace

CCaptionPainter::~CCaptionPainter() = default;

BOOL CCaptionPainter::Install(CWnd* pWnd, UINT nPaintMsg, LPCSTR pszCaption) {
    m_nPaintMsg = nPaintMsg;
    m_strCaption = pszCaption ? pszCaption : "";
    return HookWindow(pWnd);
}

void CCaptionPainter::DropCaptionBitmaps() {
    m_bmCaption[0].DeleteObject();
    m_bmCaption[1].DeleteObject();
}

CRect CCaptionPainter::GetCaptionRect() const {
    CRect rc(0, 0, 0, 0);
    if (!m_hWnd) return rc;
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    const bool bThick = (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_THICKFRAME) != 0;
    const int fx = ::GetSystemMetrics(bThick ? SM_CXFRAME : SM_CXDLGFRAME);
    const int fy = ::GetSystemMetrics(bThick ? SM_CYFRAME : SM_CYDLGFRAME);
    rc.left = fx;
    rc.right = (rcWindow.right - rcWindow.left) - fx;
    rc.top = fy;
    rc.bottom = rc.top + ::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYBORDER);
    return rc;
}

LRESULT CCaptionPainter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            OnSetText(reinterpret_cast<LPCSTR>(lParam));
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            m_szCaption = CSize(0, 0);
            ::SendMessageA(m_hWnd, m_nPaintMsg, 0, 0);
            return CSubclassWnd::WindowProc(message, wParam, lParam);
        case WM_NCPAINT:
            OnNcPaint(reinterpret_cast<HRGN>(wParam));
            return 0;
        case WM_NCACTIVATE:
            return OnNcActivate(static_cast<BOOL>(wParam));
        default:
            return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
}

void CCaptionPainter::OnNcPaint(HRGN hRgn) {
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    CRect rcCaption = GetCaptionRect();
    rcCaption.OffsetRect(rcWindow.left, rcWindow.top);

    const bool bRealRegion = reinterpret_cast<UINT_PTR>(hRgn) > 1;
    if (bRealRegion && !::RectInRegion(hRgn, &rcCaption)) {
        Default();
        return;
    }
    HRGN hWhole = bRealRegion ? nullptr : ::CreateRectRgnIndirect(&rcWindow);
    HRGN hCaption = ::CreateRectRgnIndirect(&rcCaption);
    HRGN hRest = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(hRest, bRealRegion ? hRgn : hWhole, hCaption, RGN_DIFF);
    CSubclassWnd::WindowProc(WM_NCPAINT, reinterpret_cast<WPARAM>(hRest), 0);
    ::DeleteObject(hRest);
    ::DeleteObject(hCaption);
    if (hWhole) ::DeleteObject(hWhole);
}

BOOL CCaptionPainter::OnNcActivate(BOOL bActive) {
    // The library has no stay-active flag: a window is drawn active exactly when the system says so.
    const int nState = !::IsWindowEnabled(m_hWnd) ? 0 : (bActive ? 1 : 0);
    if (nState == m_bActive) return TRUE;
    {
        CHiddenWhile hidden(m_hWnd);
        CSubclassWnd::WindowProc(WM_NCACTIVATE, static_cast<WPARAM>(nState), 0);
    }
    m_bActive = nState;
    ::SendMessageA(m_hWnd, WM_NCPAINT, 0, 0);
    return TRUE;
}

void CCaptionPainter::OnSetText(LPCSTR pszText) {
    {
        CHiddenWhile hidden(m_hWnd);
        Default();
    }
    if (pszText) m_strCaption = pszText;
    ::SendMessageA(m_hWnd, WM_NCPAINT, 0, 0);
    m_szCaption = CSize(0, 0);
    PaintCaption();
}

void CCaptionPainter::PaintCaption() {
    if (!m_hWnd || ::IsIconic(m_hWnd)) return;
    CWnd* pWnd = CWnd::FromHandle(m_hWnd);
    CWindowDC dc(pWnd);
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dc);
    const CRect rc = GetCaptionRect();
    const CSize size(rc.Width(), rc.Height());
    if (size.cx <= 0 || size.cy <= 0) return;
    if (size != m_szCaption) {
        DropCaptionBitmaps();
        m_szCaption = size;
    }
    CBitmap& bm = m_bmCaption[m_bActive ? 1 : 0];
    CBitmap* pOld = nullptr;
    if (bm.m_hObject) {
        pOld = dcMem.SelectObject(&bm);
    } else {
        bm.CreateCompatibleBitmap(&dc, size.cx, size.cy);
        pOld = dcMem.SelectObject(&bm);
        PAINTCAPTIONSTRUCT pcs{size.cx, size.cy, &dcMem, m_bActive ? 1 : 0};
        ::SendMessageA(m_hWnd, m_nPaintMsg, static_cast<WPARAM>(m_bActive), reinterpret_cast<LPARAM>(&pcs));
    }
    dc.BitBlt(rc.left, rc.top, size.cx, size.cy, &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}

LRESULT CCaptionPainter::PaintGradientCaption(WPARAM bActive, LPARAM lParam) {
    PAINTCAPTIONSTRUCT* pPc = reinterpret_cast<PAINTCAPTIONSTRUCT*>(lParam);
    if (!pPc) {
        m_fontCaption.DeleteObject();
        return 0;
    }
    const COLORREF k = bActive ? RGB(0, 0, 0) : ::GetSysColor(COLOR_INACTIVECAPTION);
    const int r = GetRValue(k), g = GetGValue(k), b = GetBValue(k);
    CDC& dc = *pPc->m_pDC;
    for (const CaptionFill& f : PlanGradientCaption(pPc->m_iWidth, r, g, b))
        dc.FillSolidRect(f.x0, 0, f.x1 - f.x0, pPc->m_iHeight, RGB(f.r, f.g, f.b));

    if (!m_fontCaption.m_hObject) {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = kNonClientMetricsSize;
        if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &ncm, 0))
            m_fontCaption.CreateFontIndirect(&ncm.lfCaptionFont);
    }
    CRect rcText(0, 0, pPc->m_iWidth, pPc->m_iHeight);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOldText = dc.SetTextColor(CaptionTextIsWhite(r, g, b) ? RGB(255, 255, 255) : RGB(0, 0, 0));
    CFont* pOldFont = m_fontCaption.m_hObject ? dc.SelectObject(&m_fontCaption) : nullptr;
    dc.DrawText(m_strCaption, -1, &rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (pOldFont) dc.SelectObject(pOldFont);
    dc.SetTextColor(crOldText);
    dc.SetBkMode(nOldMode);
    return 0;
}
