// CDC.
#include "DC.h"

#include <utility>

#include "Bitmap.h"
#include "HandleWrapper.h"

// A member of CBitmap kept with the device contexts, so that GDI objects need nothing of CDC.
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

namespace {

CTempMap<CDC, HDC, &CDC::m_hDC> g_tempDCs;

}  // namespace

CDC::~CDC() {
    if (m_bOwnsDC) DeleteDC();
}

CDC* CDC::FromHandle(HDC hDC) {
    return g_tempDCs.FromHandle(hDC);
}

void CDC::DeleteTempMap() {
    g_tempDCs.DeleteAll();
}

BOOL CDC::Attach(HDC hDC) {
    if (!AttachHandle(m_hDC, hDC)) return FALSE;
    m_bOwnsDC = FALSE;
    return TRUE;
}

HDC CDC::Detach() {
    m_bOwnsDC = FALSE;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_hDC) return FALSE;
    m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    m_bOwnsDC = m_hDC != nullptr;
    return m_bOwnsDC;
}

BOOL CDC::DeleteDC() {
    m_bOwnsDC = FALSE;
    return DestroyHandle(m_hDC, ::DeleteDC);
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject ? pObject->m_hObject : nullptr));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(pBitmap)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(pBrush)));
}

CFont* CDC::SelectObject(CFont* pFont) {
    return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(pFont)));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, clr);
}
