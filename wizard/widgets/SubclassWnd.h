// CSubclassWnd: a window-procedure hook that is not a window. Any number of hooks may sit on one window;
// they form a chain, the most recent first, and all share the window's one replaced procedure.
#pragma once

#include "Framework.h"

class CSubclassWnd : public CObject {
public:
    ~CSubclassWnd() override;

    // With a window: attach this hook at the head of the window's chain. With NULL: detach it.
    BOOL HookWindow(HWND hWnd);
    BOOL HookWindow(CWnd* pWnd) { return HookWindow(pWnd ? pWnd->m_hWnd : nullptr); }
    BOOL IsHooked() const { return m_hWnd != nullptr; }
    HWND GetHookedWindow() const { return m_hWnd; }

    // Default: the next hook of the window, or the window's own procedure after the last hook.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The procedure installed in every hooked window.
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The first hook of hWnd, or NULL when the window has none.
    static CSubclassWnd* FirstHook(HWND hWnd);

protected:
    // The thread's current message, passed on as by default.
    LRESULT Default();

    HWND m_hWnd = nullptr;
    WNDPROC m_pOldWndProc = nullptr;  // the window's own procedure, the same in every hook of the window
    CSubclassWnd* m_pNext = nullptr;
};
