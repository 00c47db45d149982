// CMapDriveDlg: "Map Network Drive", the offer to map the disk at the head of the mapping queue to a free
// drive letter. Its OK and Cancel drop the head and let the frame offer the next queued disk.
#pragma once

#include "ComboBoxEx.h"
#include "Dialog.h"
#include "Static.h"
#include "StringList.h"

class CMapDriveDlg : public CDialog {
public:
    explicit CMapDriveDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Clears the chain's flag, drops the head, and asks the frame for the next dialog while paths remain.
    void ContinueChain(int nResultWhenLast);

    HIMAGELIST m_hSystemImages = nullptr;  // the system's list, never destroyed here
    CStringList m_localNames;
    CStringList m_remoteNames;
    CStringList m_freeDrives;
    CStatic m_path;
    CComboBoxEx m_driveBox;

    DECLARE_MESSAGE_MAP()
};
