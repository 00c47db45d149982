// CDeviceListPage: the wizard page that searches for appliances, lists them by server name and reads the
// chosen one's settings with its own request into g_settings. It also keeps the transaction counter that
// the device operations number their requests with, and the list of found appliances: it is the host of
// the operation and password dialogs it runs.
#pragma once

#include "Framework.h"
#include "../link/DeviceInfo.h"
#include "../link/DeviceList.h"
#include "../link/LocalAdapter.h"
#include "../link/PacketHeader.h"
#include "../ops/OperationHost.h"
#include "../res/resource.h"
#include "../widgets/HoverButton.h"
#include "../widgets/SortedSiblings.h"
#include "WizardPage.h"
#include "WizardState.h"

constexpr UINT WM_NET_DEVINFO = WM_USER + 102;
// The tree held from repainting while a search's replies add items, shown again this often.
constexpr UINT_PTR TIMER_TREE_SHOW = 300;
constexpr UINT TREE_SHOW_PERIOD = 100;

class CDeviceListPage : public CWizardPage, public COperationHost {
public:
    CDeviceListPage();

    // The number of a new transaction: +1, a value above 10000 becomes 1000; never 0.
    uint16_t NextSequence() override;

    // An accepted search reply (receiver rules already applied): updates the entry with its MAC, or adds
    // an entry with the next item number, noting the local address it was found through, and, when the
    // page's tree exists, a sorted tree item.
    void AddDevice(const DeviceInfo& info, int nInterfaceIndex) override;

    CDeviceList& GetDevices() { return m_devices; }
    // The entry of the tree's selected item, nullptr when none.
    DeviceEntry* GetSelectedEntry() const;

    void OnSetActive() override;
    int OnWizardNext() override;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnRefresh();
    afx_msg void OnSelChanged(NMHDR* pNotify, LRESULT* pResult);
    afx_msg void OnTreeDblClk(NMHDR* pNotify, LRESULT* pResult);
    afx_msg LRESULT OnNetDevInfo(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();

    void Search();
    void ReadSelected();
    void ShowValues();
    void EmptyValueColumn();
    void ShowHeldTree();
    CTreeCtrl* Tree() const;
    CListCtrl* Values() const;

    CDeviceList m_devices;
    CStringList m_targets;
    int m_hChannel = 0;
    // Also the number of the page's own outstanding request; 0 when none.
    WORD m_wSequence = 0;
    uint8_t m_packet[MAX_PACKET] = {};
    DeviceInfo m_info = {};
    uint32_t m_dwDeviceAddress = 0;
    int m_nRetries = 0;
    UINT m_nRetryPeriod = 2000;
    BOOL m_bClearing = FALSE;
    BOOL m_bTreeHeld = FALSE;
    CLocalAdapter m_adapter;
    // The tree's root texts in its order, where a search's replies insert their items.
    CSortedSiblings m_treeOrder;
    CImageList m_images;
    CHoverButton m_refresh;

    DECLARE_MESSAGE_MAP()
};
