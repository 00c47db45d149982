// CDriveRemovedDlg: "Delete Network Drive", the notice that the disk at the head of the removal queue is
// gone. It cancels the first drive letter connected to that path and names it; its OK lets the frame show
// the next queued removal.
#pragma once

#include "StringList.h"
#include "TrayNoticeDlg.h"

class CDriveRemovedDlg : public CTrayNoticeDlg {
public:
    explicit CDriveRemovedDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    CStringList m_localNames;
    CStringList m_remoteNames;

    DECLARE_MESSAGE_MAP()
};
