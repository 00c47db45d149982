// The appliances found by a search: owned DeviceEntry records in ascending nItemId order, found by MAC through a
// hash map (a search of a large LAN brings every appliance's reply again in each round). Entries keep their
// address until RemoveAll, so a pointer to the chosen one stays valid while the list lives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "DeviceEntry.h"
#include "DeviceInfo.h"

class CDeviceList {
public:
    // Updates the entry with the info's MAC (name, state, password flag, address), or creates one with the
    // smallest free item number and the given interface index. The info's settings.abIpAddress must already
    // hold the reply's sender. Returns the entry, nullptr when it could not be allocated; *pbCreated tells
    // whether it is new.
    DeviceEntry* Add(const DeviceInfo& info, int nInterfaceIndex, bool* pbCreated);

    DeviceEntry* FindByItemId(int nItemId) const;
    DeviceEntry* FindByMac(const uint8_t (&abMac)[6]) const;
    DeviceEntry* GetAt(size_t nIndex) const { return m_entries[nIndex].get(); }
    size_t GetCount() const { return m_entries.size(); }
    void RemoveAll();

private:
    std::vector<std::unique_ptr<DeviceEntry>> m_entries;
    std::unordered_map<uint64_t, DeviceEntry*> m_byMac;
};
