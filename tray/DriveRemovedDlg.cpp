// CDriveRemovedDlg: the disconnect of the first matching connection and the chain step.
#include "DriveRemovedDlg.h"

#include "EnumConnections.h"
#include "NoticeQueues.h"
#include "ShowWNetError.h"
#include "resource.h"

#include <winnetwk.h>

BEGIN_MESSAGE_MAP(CDriveRemovedDlg, CTrayNoticeDlg)
END_MESSAGE_MAP()

CDriveRemovedDlg::CDriveRemovedDlg(CWnd* pParent)
    : CTrayNoticeDlg(IDD_DRIVE_REMOVED, pParent), m_localNames(10), m_remoteNames(10) {}

BOOL CDriveRemovedDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_localNames.RemoveAll();
    m_remoteNames.RemoveAll();
    m_text.SetWindowText("");

    EnumConnections(m_localNames, m_remoteNames);
    const CString head = g_removedPaths.GetHead();
    POSITION local = m_localNames.GetHeadPosition();
    POSITION remote = m_remoteNames.GetHeadPosition();
    CString localName;
    bool found = false;
    while (local && remote) {
        const CString& l = m_localNames.GetNext(local);
        if (m_remoteNames.GetNext(remote) == head) {
            localName = l;
            found = true;
            break;
        }
    }
    if (!found) {
        OnOK();
        return TRUE;
    }

    const DWORD result = WNetCancelConnection2A(localName, CONNECT_UPDATE_PROFILE, FALSE);
    if (result != NO_ERROR) {
        ShowWNetError(this, result);
        return TRUE;
    }
    CString text;
    text.Format("%s%s  has been removed.", localName.GetString(), head.GetString());
    ShowNotice(text, IDI_ASTERISK);
    return TRUE;
}

void CDriveRemovedDlg::OnOK() {
    g_removedDlgActive = false;
    DropRemovedHead();
    EndChainStep(*this, !g_removedPaths.IsEmpty(), QUEUE_REMOVED, IDOK);
}

// Esc continues the chain as OK does; otherwise the notice's path would stay at the head and every later
// removal would wait behind a flag nobody clears.
void CDriveRemovedDlg::OnCancel() {
    OnOK();
}
