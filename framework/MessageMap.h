// Message-map macros. A class declares DECLARE_MESSAGE_MAP() and defines its table in its source:
//
//   BEGIN_MESSAGE_MAP(CPasswordDlg, CDialog)
//     ON_EN_CHANGE(IDC_PASSWORD, OnPasswordChange)
//     ON_MESSAGE(WM_NET_PASSWORD, OnNetPassword)
//     ON_WM_TIMER()
//   END_MESSAGE_MAP()
//
// Each entry holds a small thunk that unpacks wParam/lParam and calls the member on the object; a
// breakpoint in CWnd::OnWndMsg or CCmdTarget::OnCmdMsg shows every hop. Unhandled messages go to the base
// class's table, then to the window's default procedure.
#pragma once

#include "CmdTarget.h"

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019  // the one table entry that stands for every WM_CTLCOLORxxx message
#endif
#define afx_msg       // marks message handlers in class declarations
#define CN_COMMAND 0  // menu items, accelerators and BN_CLICKED share code 0

// clang-format off
#define DECLARE_MESSAGE_MAP()                                                           \
protected:                                                                              \
    static const AFX_MSGMAP* GetThisMessageMap();                                       \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        typedef theClass ThisClass;                                                     \
        typedef baseClass TheBaseClass;                                                 \
        static_cast<void>(sizeof(ThisClass));                                           \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                               \
            {0, 0, 0, 0, nullptr}};                                                     \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
        return &messageMap;                                                             \
    }
// clang-format on

// The thunk of one entry: pThis is the object as the map's class; message, wParam and lParam as received.
#define AFX_MSG_THUNK(body)                                                                \
    [](CCmdTarget* pTarget, [[maybe_unused]] UINT message, [[maybe_unused]] WPARAM wParam, \
       [[maybe_unused]] LPARAM lParam) -> LRESULT {                                        \
        [[maybe_unused]] ThisClass* pThis = static_cast<ThisClass*>(pTarget);              \
        body                                                                               \
    }

#define AFX_X_LPARAM(lp) static_cast<int>(static_cast<short>(LOWORD(lp)))
#define AFX_Y_LPARAM(lp) static_cast<int>(static_cast<short>(HIWORD(lp)))

// Commands and control notifications (WM_COMMAND): void memberFxn().
#define ON_COMMAND(id, memberFxn)                                             \
    {                                                                         \
        WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), \
            AFX_MSG_THUNK(pThis->memberFxn(); return 0;)                      \
    }                                                                         \
    ,
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                   \
    {                                                                             \
        WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(idLast), \
            AFX_MSG_THUNK(pThis->memberFxn(LOWORD(wParam)); return 0;)            \
    }                                                                             \
    ,
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                    \
    {                                                                                             \
        WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), \
            AFX_MSG_THUNK(pThis->memberFxn(); return 0;)                                          \
    }                                                                                             \
    ,
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)

// Common-control notifications (WM_NOTIFY): void memberFxn(NMHDR* pNMHDR, LRESULT* pResult); *pResult
// starts at 0 and is the message's result. Tree views: ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnSelChanged).
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                              \
    {                                                                                                      \
        WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id),           \
            AFX_MSG_THUNK(LRESULT result = 0; pThis->memberFxn(reinterpret_cast<NMHDR*>(lParam), &result); \
                          return result;)                                                                  \
    }                                                                                                      \
    ,

// Any message, user messages included: LRESULT memberFxn(WPARAM wParam, LPARAM lParam).
#define ON_MESSAGE(message, memberFxn)                                                               \
    { static_cast<UINT>(message), 0, 0, 0, AFX_MSG_THUNK(return pThis->memberFxn(wParam, lParam);) } \
    ,

// Window messages, with the handler signatures of CWnd.
#define ON_WM_CREATE()                                                                                       \
    { WM_CREATE, 0, 0, 0, AFX_MSG_THUNK(return pThis->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));) } \
    ,
#define ON_WM_DESTROY()                                                   \
    { WM_DESTROY, 0, 0, 0, AFX_MSG_THUNK(pThis->OnDestroy(); return 0;) } \
    ,
#define ON_WM_CLOSE()                                                 \
    { WM_CLOSE, 0, 0, 0, AFX_MSG_THUNK(pThis->OnClose(); return 0;) } \
    ,
#define ON_WM_TIMER()                                                                              \
    { WM_TIMER, 0, 0, 0, AFX_MSG_THUNK(pThis->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;) } \
    ,
#define ON_WM_PAINT()                                                 \
    { WM_PAINT, 0, 0, 0, AFX_MSG_THUNK(pThis->OnPaint(); return 0;) } \
    ,
#define ON_WM_ERASEBKGND()                                                                             \
    {                                                                                                  \
        WM_ERASEBKGND, 0, 0, 0,                                                                        \
            AFX_MSG_THUNK(return pThis->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));) \
    }                                                                                                  \
    ,
#define ON_WM_CTLCOLOR()                                                                                          \
    {                                                                                                             \
        WM_CTLCOLOR, 0, 0, 0,                                                                                     \
            AFX_MSG_THUNK(return reinterpret_cast<LRESULT>(pThis->OnCtlColor(                                     \
                CDC::FromHandle(reinterpret_cast<HDC>(wParam)), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), \
                message - WM_CTLCOLORMSGBOX));)                                                                   \
    }                                                                                                             \
    ,
#define ON_WM_SIZE()                                                                                           \
    {                                                                                                          \
        WM_SIZE, 0, 0, 0,                                                                                      \
            AFX_MSG_THUNK(pThis->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;) \
    }                                                                                                          \
    ,
#define AFX_MOUSE_ENTRY(msg, memberFxn)                                                                          \
    {                                                                                                            \
        msg, 0, 0, 0,                                                                                            \
            AFX_MSG_THUNK(                                                                                       \
                pThis->memberFxn(static_cast<UINT>(wParam), CPoint(AFX_X_LPARAM(lParam), AFX_Y_LPARAM(lParam))); \
                return 0;)                                                                                       \
    }                                                                                                            \
    ,
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEHOVER() AFX_MOUSE_ENTRY(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE()                                                      \
    { WM_MOUSELEAVE, 0, 0, 0, AFX_MSG_THUNK(pThis->OnMouseLeave(); return 0;) } \
    ,
#define ON_WM_DRAWITEM()                                                                                           \
    {                                                                                                              \
        WM_DRAWITEM, 0, 0, 0,                                                                                      \
            AFX_MSG_THUNK(pThis->OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); \
                          return TRUE;)                                                                            \
    }                                                                                                              \
    ,
#define ON_WM_NCPAINT()                                                   \
    { WM_NCPAINT, 0, 0, 0, AFX_MSG_THUNK(pThis->OnNcPaint(); return 0;) } \
    ,
#define ON_WM_NCACTIVATE()                                                                            \
    { WM_NCACTIVATE, 0, 0, 0, AFX_MSG_THUNK(return pThis->OnNcActivate(static_cast<BOOL>(wParam));) } \
    ,
