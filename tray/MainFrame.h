// CMainFrame: the utility's hidden frame, "Pebblink Utility". It owns the tray icon, the listener for the
// appliances' notices on port 917, and turns notices into dialogs, one chain per kind: offers to map a new
// disk, notices that a mapped disk is gone, and the wrong-port warning.
#pragma once

#include "Dialog.h"
#include "FrameWnd.h"
#include "NoticeGate.h"
#include "StringList.h"
#include "TrayIcon.h"
#include "UnansweredHosts.h"
#include "UsbService.h"

#include <winsock2.h>

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The frame deletes itself with its window, unless one of its own modal runs is still on the stack.
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows one CMapDriveDlg for the first queued disk that is neither mapped nor gone silent.
    void ProcessMapQueue();
    // Shows one CDriveRemovedDlg for the head of the removal queue.
    void ProcessRemovedQueue();
    void ShowWrongPortWarning(CString path);

    const CTrayIcon& GetTrayIcon() const { return m_trayIcon; }
    SOCKET GetListener() const { return m_hSocket; }
    const CNoticeGate& GetNoticeGate() const { return m_gate; }
    // Removal notices dropped because their sender does not serve the path they name.
    uint64_t GetForeignRemovals() const { return m_nForeignRemovals; }
    // True once the window is gone while a dialog of the frame was running; the object then stays.
    bool IsWindowGone() const { return m_bWindowGone; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSocketNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnProcessQueue(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHostChecked(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMapDrive();
    afx_msg void OnSafelyRemove();

    CTrayIcon m_trayIcon;
    UINT m_nIconID;
    SOCKET m_hSocket = INVALID_SOCKET;
    // Receive buffer the listener asks for when the window is created (0: the platform's default).
    int m_nListenerBuffer = LISTENER_RECEIVE_BUFFER;
    CStringList m_connLocal;
    CStringList m_connRemote;
    // Notices whose sender's echo test is under way (see NoticeGate.h).
    CNoticeGate m_gate;
    // Appliances the queue step found silent lately (see UnansweredHosts.h).
    CUnansweredHosts m_unanswered;
    // Dialogs the frame is running; Exit during one of them destroys the window under the dialog's loop, and
    // the handler that runs it carries on once the loop gives up.
    int m_nModalDepth = 0;
    uint64_t m_nForeignRemovals = 0;
    bool m_bWindowGone = false;

private:
    // Runs dlg modally as one of the frame's own runs (see PostNcDestroy).
    INT_PTR RunModal(CDialog& dlg);
    // A notice whose sender answered: into its queue (within the queue's bounds) or on show.
    void HandleNotice(uint16_t wType, const CString& name, const CString& sender);
    // The mapping queue's bounds applied to one more entry; true when it joined the queue.
    bool QueueOffer(const CString& path, const CString& sender);
    // The echo test of the queue step, skipped for an address that went unanswered lately.
    bool IsApplianceReachable(const CString& address);

    DECLARE_MESSAGE_MAP()
};
