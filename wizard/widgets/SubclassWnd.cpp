// CSubclassWnd: the hook map (window -> first hook) and the shared hook procedure.
#include "SubclassWnd.h"

namespace {

// Created on first use, destroyed at program exit.
CMapPtrToPtr& HookMap() {
    static CMapPtrToPtr map;
    return map;
}

}  // namespace

CSubclassWnd::~CSubclassWnd() {
    if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
}

CSubclassWnd* CSubclassWnd::FirstHook(HWND hWnd) {
    void* pHook = nullptr;
    if (!hWnd || !HookMap().Lookup(hWnd, pHook)) return nullptr;
    return static_cast<CSubclassWnd*>(pHook);
}

BOOL CSubclassWnd::HookWindow(HWND hWnd) {
    if (hWnd) {
        if (!::IsWindow(hWnd)) return FALSE;
        // A hook sits on one window at a time.
        if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
        CSubclassWnd* pFirst = FirstHook(hWnd);
        m_pNext = pFirst;
        HookMap().SetAt(hWnd, this);
        if (pFirst) {
            m_pOldWndProc = pFirst->m_pOldWndProc;
        } else {
            m_pOldWndProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassWnd::HookWndProc)));
        }
        m_hWnd = hWnd;
        return TRUE;
    }
    if (!m_hWnd) return TRUE;
    CSubclassWnd* pFirst = FirstHook(m_hWnd);
    if (pFirst == this) {
        if (m_pNext) {
            HookMap().SetAt(m_hWnd, m_pNext);
        } else {
            HookMap().RemoveKey(m_hWnd);
            if (::IsWindow(m_hWnd))
                ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pOldWndProc));
        }
    } else {
        for (CSubclassWnd* p = pFirst; p; p = p->m_pNext)
            if (p->m_pNext == this) {
                p->m_pNext = m_pNext;
                break;
            }
    }
    m_pNext = nullptr;
    m_hWnd = nullptr;
    m_pOldWndProc = nullptr;
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pNext) return m_pNext->WindowProc(message, wParam, lParam);
    if (m_pOldWndProc) return ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CSubclassWnd::Default() {
    const MSG* pMsg = AfxGetCurrentMessage();
    return CSubclassWnd::WindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

LRESULT CALLBACK CSubclassWnd::HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG* pCurrent = AfxGetCurrentMessage();
    const MSG saved = *pCurrent;
    pCurrent->hwnd = hWnd;
    pCurrent->message = message;
    pCurrent->wParam = wParam;
    pCurrent->lParam = lParam;

    LRESULT lResult = 0;
    CSubclassWnd* pHook = FirstHook(hWnd);
    if (message == WM_NCDESTROY) {
        WNDPROC pfnOwn =
            pHook ? pHook->m_pOldWndProc : reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
        while (CSubclassWnd* pFirst = FirstHook(hWnd)) pFirst->HookWindow(static_cast<HWND>(nullptr));
        if (pfnOwn && pfnOwn != &CSubclassWnd::HookWndProc)
            lResult = ::CallWindowProcA(pfnOwn, hWnd, message, wParam, lParam);
        else
            lResult = ::DefWindowProcA(hWnd, message, wParam, lParam);
    } else if (pHook) {
        lResult = pHook->WindowProc(message, wParam, lParam);
    } else {
        lResult = ::DefWindowProcA(hWnd, message, wParam, lParam);
    }

    *pCurrent = saved;
    return lResult;
}
