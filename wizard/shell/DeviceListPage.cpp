// The device list page: transaction counter and found appliances.
#include "DeviceListPage.h"

#include "../link/ChannelTable.h"
#include "../link/PacketCatalogue.h"

CDeviceListPage* g_pDeviceListPage = nullptr;

CDeviceListPage::CDeviceListPage() : CWizardPage(IDD_DEVICE_LIST, 195) {}

WORD CDeviceListPage::NextSequence() {
    m_wSequence = NextSequenceValue(m_wSequence);
    return m_wSequence;
}

void CDeviceListPage::AddDevice(const DeviceInfo& info) {
    bool bCreated = false;
    // nextBindIndex has moved past the address the search channel is bound to (-1: unbound).
    DeviceEntry* pEntry = m_devices.Add(info, nextBindIndex - 1, &bCreated);
    if (!pEntry || !bCreated || !m_hWnd) return;
    CTreeCtrl* pTree = static_cast<CTreeCtrl*>(GetDlgItem(IDC_DEVICE_TREE));
    if (!pTree) return;
    pTree->InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pEntry->szServerName, 0, 1, 0, 0,
                      pEntry->nItemId, TVI_ROOT, TVI_SORT);
}
