// The wizard's note of one appliance found by a search. Not a wire record; kept by the device list.
#pragma once

#include <cstddef>
#include <cstdint>

struct DeviceEntry {
    uint16_t wState;
    uint8_t abMac[6];  // the key by which a repeated reply finds its entry
    char szServerName[15];
    uint8_t bPasswordSet;
    uint32_t dwAddress;       // network order: where the appliance answers from
    int32_t nItemId;          // tree item number, smallest free positive number
    int32_t nInterfaceIndex;  // local address the search was bound to when found; -1 unbound
};

static_assert(sizeof(DeviceEntry) == 36);
static_assert(offsetof(DeviceEntry, wState) == 0);
static_assert(offsetof(DeviceEntry, abMac) == 2);
static_assert(offsetof(DeviceEntry, szServerName) == 8);
static_assert(offsetof(DeviceEntry, bPasswordSet) == 23);
static_assert(offsetof(DeviceEntry, dwAddress) == 24);
static_assert(offsetof(DeviceEntry, nItemId) == 28);
static_assert(offsetof(DeviceEntry, nInterfaceIndex) == 32);
