// The device list's entries, their item numbers and the MAC map.
#include "DeviceList.h"

#include <cstring>
#include <new>

static void CopyReplyFields(DeviceEntry& entry, const DeviceInfo& info) {
    memcpy(entry.szServerName, info.settings.szServerName, sizeof entry.szServerName);
    entry.wState = info.wState;
    entry.bPasswordSet = info.bPasswordSet;
    memcpy(&entry.dwAddress, info.settings.abIpAddress, sizeof entry.dwAddress);
}

static uint64_t MacKey(const uint8_t (&abMac)[6]) {
    uint64_t key = 0;
    for (uint8_t b : abMac) key = key << 8 | b;
    return key;
}

DeviceEntry* CDeviceList::FindByMac(const uint8_t (&abMac)[6]) const {
    auto it = m_byMac.find(MacKey(abMac));
    return it == m_byMac.end() ? nullptr : it->second;
}

DeviceEntry* CDeviceList::FindByItemId(int nItemId) const {
    // While the numbers run 1..n without a gap, the entry of number k is the k-th.
    if (nItemId >= 1 && static_cast<size_t>(nItemId) <= m_entries.size() &&
        m_entries[static_cast<size_t>(nItemId) - 1]->nItemId == nItemId)
        return m_entries[static_cast<size_t>(nItemId) - 1].get();
    for (const auto& p : m_entries)
        if (p->nItemId == nItemId) return p.get();
    return nullptr;
}

void CDeviceList::RemoveAll() {
    m_byMac.clear();
    m_entries.clear();
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

    // The smallest positive number not in use; the list stays ordered by it. Without a gap that is n + 1.
    size_t nAt = m_entries.size();
    int nPrev = nAt ? m_entries.back()->nItemId : 0;
    if (nPrev != static_cast<int>(nAt)) {
        nPrev = 0;
        for (nAt = 0; nAt < m_entries.size() && m_entries[nAt]->nItemId == nPrev + 1; ++nAt)
            nPrev = m_entries[nAt]->nItemId;
    }
    entry->nItemId = nPrev + 1;
    DeviceEntry* pEntry = entry.get();
    uint64_t key = MacKey(pEntry->abMac);
    try {
        m_byMac.emplace(key, pEntry);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    try {
        m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(nAt), std::move(entry));
    } catch (const std::bad_alloc&) {
        m_byMac.erase(key);
        return nullptr;
    }
    *pbCreated = true;
    return pEntry;
}
