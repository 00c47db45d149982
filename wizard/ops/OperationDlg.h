// COperationDlg: the modal window that runs a search (OP_SEARCH) or a settings write (OP_SET_CONFIG) on
// its own channel, with retries on a window timer, while an animation plays. Ends with IDOK or IDCANCEL.
#pragma once

#include "Framework.h"
#include "../link/DeviceEntry.h"
#include "../link/DeviceSettings.h"
#include "../link/LocalAdapter.h"
#include "../link/PacketHeader.h"
#include "../widgets/HoverButton.h"
#include "ChannelRequest.h"
#include "OperationHost.h"

#define OP_SEARCH 147
#define OP_SET_CONFIG 148

constexpr UINT_PTR TIMER_RETRY = 100;
constexpr UINT_PTR TIMER_ANIMATE = 200;
// Search replies read at most per receive notification.
constexpr int SEARCH_REPLIES_PER_NOTICE = 64;
constexpr UINT WM_NET_SETCONFIG = WM_USER + 101;

class COperationDlg : public CDialog, protected CChannelRequest {
public:
    // OP_SET_CONFIG: writes *pSettings, with the entry's MAC, to the chosen appliance.
    COperationDlg(int nKind, DeviceEntry* pDevice, DeviceSettings* pSettings, COperationHost* pHost,
                  CWnd* pParent = nullptr);
    // OP_SEARCH: searches the targets ("255.255.255.255" for a broadcast) and hands each appliance found
    // to the host. Without a host (no transaction numbers) either kind ends in the communication error.
    COperationDlg(int nKind, CStringList* pTargets, COperationHost* pHost, CWnd* pParent = nullptr);
    ~COperationDlg() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnNetSearch(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNetSetConfig(WPARAM wParam, LPARAM lParam);

    void StartNextTarget();
    void OnSearchTimer();
    void SendSetConfigAttempt();
    void OnSetConfigTimer();
    void CommunicationError();
    void End(int nResult);

    int m_nKind;
    DeviceEntry* m_pDevice = nullptr;
    DeviceSettings* m_pSettings = nullptr;
    uint32_t m_dwDeviceAddress = 0;
    CStringList* m_pTargets = nullptr;
    int m_nTargetIndex = -1;
    COperationHost* m_pHost = nullptr;
    uint32_t m_dwCurrentDest = 0;
    CBitmap m_hFrames[4];
    CHoverButton m_btnStop;
    CBrush m_brush;
    CLocalAdapter m_adapter;

    DECLARE_MESSAGE_MAP()
};
