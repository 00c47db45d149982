// CSafeRemoveDlg: "Safely Remove Network USB". Lists the appliances that answer discovery with a disk and
// answer ICMP; Eject asks the chosen one to eject its disk and, once it confirms, disconnects every drive
// letter mapped to a share of that server. Each item keeps (as its data) the index of the discovery reply it
// came from: the eject goes out through the interface that reply came through, and only the address that
// sent it may confirm.
#pragma once

#include "Dialog.h"
#include "ImageList.h"
#include "StringList.h"
#include "TreeCtrl.h"

class CSafeRemoveDlg : public CDialog {
public:
    explicit CSafeRemoveDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnRefresh();
    afx_msg void OnEject();
    // Cancels the connections of server; false after the first failure (already reported).
    bool DisconnectServer(const CString& server);

    CImageList m_images;
    CStringList m_names;
    CStringList m_addresses;
    CStringList m_locals;
    CStringList m_localNames;
    CStringList m_remoteNames;
    HTREEITEM m_hEjectItem = nullptr;
    CTreeCtrl m_tree;

    DECLARE_MESSAGE_MAP()
};
