// CPasswordDlg: asks for the admin password of the chosen appliance and has the appliance check it
// (PKT_CHECK_PASSWORD). IDOK when the appliance accepted it. The password lives only in the edit control
// and the request; every copy the dialog or its channel held is wiped when the dialog ends.
#pragma once

#include "Framework.h"
#include "../link/DeviceEntry.h"
#include "../link/LocalAdapter.h"
#include "ChannelRequest.h"
#include "OperationHost.h"

constexpr UINT WM_NET_PASSWORD = WM_USER + 104;

class CPasswordDlg : public CDialog, protected CChannelRequest {
public:
    // The host gives the transaction numbers; without one the dialog ends in the communication error.
    CPasswordDlg(DeviceEntry* pDevice, COperationHost* pHost, CWnd* pParent = nullptr);
    ~CPasswordDlg() override;

    INT_PTR DoModal() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnPasswordChange();
    afx_msg void OnCheck();
    afx_msg LRESULT OnNetPassword(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    void EnableInput(BOOL bEnable);
    void WipePassword();
    // Where the attempt made with nRetries resends left goes.
    uint32_t Destination(int nRetries) const;
    void WipeSecrets();

    DeviceEntry* m_pDevice;
    CString m_strPassword;
    COperationHost* m_pHost;
    uint32_t m_dwExpectedSender = 0;
    // The adapter through which the appliance was found, for the subnet test of the destination.
    CLocalAdapter m_adapter;

    DECLARE_MESSAGE_MAP()
};
