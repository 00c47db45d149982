// CFrameWnd: an overlapped top-level window loaded from a resource id (icon and title string of that id).
// A frame allocates with new and deletes itself when its window is destroyed; as the main window it ends
// the application's loop. Commands it does not handle go to the application object.
#pragma once

#include "Wnd.h"

#define FWS_ADDTOTITLE 0x00008000L  // frame-only style bit: never reaches CreateWindowEx

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd() = default;

    // Creates the window with dwDefaultStyle: icon nIDResource and title string nIDResource when the
    // resources have them (PreCreateWindow may change the title). The window is not shown.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

protected:
    afx_msg void OnClose();

    CString m_strTitle;

    DECLARE_MESSAGE_MAP()
};
