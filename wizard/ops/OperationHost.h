// COperationHost: what the operation and password dialogs need from the page that runs them: the numbers
// of new transactions (the wizard's one counter) and a place for the appliances a search finds. The caller
// hands it to the dialog, so that the dialogs know nothing of the page.
#pragma once

#include <cstdint>

#include "../link/DeviceInfo.h"

class COperationHost {
public:
    // The number of a new transaction.
    virtual uint16_t NextSequence() = 0;
    // An accepted search reply (receiver rules applied), found through local address nInterfaceIndex: the
    // address the search channel was bound to (-1: unbound).
    virtual void AddDevice(const DeviceInfo& info, int nInterfaceIndex) = 0;

protected:
    ~COperationHost() = default;
};
