// CMainFrame: the utility's hidden frame, "Pebblink Utility". It owns the tray icon, the listener for the
// appliances' notices on port 917, and turns notices into dialogs, one chain per kind: offers to map a new
// disk, notices that a mapped disk is gone, and the wrong-port warning.
#pragma once

#include "FrameWnd.h"
#include "StringList.h"
#include "TrayIcon.h"

#include <winsock2.h>

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows one CMapDriveDlg for the first queued disk that is neither mapped nor gone silent.
    void ProcessMapQueue();
    // Shows one CDriveRemovedDlg for the head of the removal queue.
    void ProcessRemovedQueue();
    void ShowWrongPortWarning(CString path);

    const CTrayIcon& GetTrayIcon() const { return m_trayIcon; }
    SOCKET GetListener() const { return m_hSocket; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSocketNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnProcessQueue(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMapDrive();
    afx_msg void OnSafelyRemove();

    CTrayIcon m_trayIcon;
    UINT m_nIconID;
    SOCKET m_hSocket = INVALID_SOCKET;
    CStringList m_connLocal;
    CStringList m_connRemote;

    DECLARE_MESSAGE_MAP()
};
