// CDriveRemovedDlg: "Delete Network Drive", the notice that the disk at the head of the removal queue is
// gone. It cancels the first drive letter connected to that path and names it; its OK lets the frame show
// the next queued removal.
#pragma once

#include "Dialog.h"
#include "Static.h"
#include "StringList.h"

class CDriveRemovedDlg : public CDialog {
public:
    explicit CDriveRemovedDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    CStringList m_localNames;
    CStringList m_remoteNames;
    CStatic m_icon;
    CStatic m_text;

    DECLARE_MESSAGE_MAP()
};
