// The device list's entries and their item numbers.
#include "DeviceList.h"

#include <cstring>
#include <new>

static void CopyReplyFields(DeviceEntry& entry, const DeviceInfo& info) {
    memcpy(entry.szServerName, info.settings.szServerName, sizeof entry.szServerName);
    entry.wState = info.wState;
    entry.bPasswordSet = info.bPasswordSet;
    memcpy(&entry.dwAddress, info.settings.abIpAddress, sizeof entry.dwAddress);
}

DeviceEntry* CDeviceList::FindByMac(const uint8_t (&abMac)[6]) const {
    for (const auto& p : m_entries)
        if (memcmp(p->abMac, abMac, sizeof p->abMac) == 0) return p.get();
    return nullptr;
}

DeviceEntry* CDeviceList::FindByItemId(int nItemId) const {
    for (const auto& p : m_entries)
        if (p->nItemId == nItemId) return p.get();
    return nullptr;
}

DeviceEntry* CDeviceList::Add(const DeviceInfo& info, int nInterfaceIndex, bool* pbCreated) {
    *pbCreated = false;
    if (DeviceEntry* pFound = FindByMac(info.settings.abMac)) {
        CopyReplyFields(*pFound, info);
        return pFound;
    }

    std::unique_ptr<DeviceEntry> entry(new (std::nothrow) DeviceEntry{});
    if (!entry) return nullptr;
    memcpy(entry->abMac, info.settings.abMac, sizeof entry->abMac);
    CopyReplyFields(*entry, info);
    entry->nInterfaceIndex = nInterfaceIndex;

    // The smallest positive number not in use; the list stays ordered by it.
    int nPrev = 0;
    auto it = m_entries.begin();
    for (; it != m_entries.end(); ++it) {
        if ((*it)->nItemId > nPrev + 1) break;
        nPrev = (*it)->nItemId;
    }
    entry->nItemId = nPrev + 1;
    DeviceEntry* pEntry = entry.get();
    m_entries.insert(it, std::move(entry));
    *pbCreated = true;
    return pEntry;
}
