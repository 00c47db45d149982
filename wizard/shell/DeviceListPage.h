// CDeviceListPage: the wizard page that lists the appliances a search found. This file holds what the
// device operations rely on: the transaction counter and AddDevice with the page's list of entries.
#pragma once

#include "Framework.h"
#include "../link/DeviceInfo.h"
#include "../link/DeviceList.h"
#include "../res/resource.h"
#include "WizardPage.h"

class CDeviceListPage : public CWizardPage {
public:
    CDeviceListPage();

    // The number of a new transaction: +1, a value above 10000 becomes 1000; never 0.
    WORD NextSequence();

    // An accepted search reply (receiver rules already applied): updates the entry with its MAC, or adds
    // an entry with the next item number and, when the page's tree exists, a sorted tree item.
    void AddDevice(const DeviceInfo& info);

    CDeviceList& GetDevices() { return m_devices; }

protected:
    CDeviceList m_devices;
    // Also the number of the page's own outstanding request; 0 when none.
    WORD m_wSequence = 0;
};

// Set by the page before it runs a search; the operation and password dialogs take their transaction
// numbers from it and hand found appliances to it.
extern CDeviceListPage* g_pDeviceListPage;
