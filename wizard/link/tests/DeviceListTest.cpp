// AddDevice's entries: item numbers, updates by MAC, and what an update keeps.
#include <gtest/gtest.h>

#include <cstring>

#include "../DeviceList.h"

namespace {

DeviceInfo Reply(uint8_t macLast, const char* name, uint32_t address, uint16_t state = 0, uint8_t password = 0) {
    DeviceInfo info{};
    const uint8_t mac[6] = {0x00, 0x0A, 0x0B, 0x0C, 0x0D, macLast};
    memcpy(info.settings.abMac, mac, 6);
    strncpy(info.settings.szServerName, name, sizeof info.settings.szServerName - 1);
    memcpy(info.settings.abIpAddress, &address, 4);
    info.wState = state;
    info.bPasswordSet = password;
    return info;
}

TEST(DeviceList, NewAppliancesNumberedFromOneInArrivalOrder) {
    CDeviceList list;
    bool created = false;
    for (uint8_t i = 1; i <= 5; ++i) {
        DeviceEntry* e = list.Add(Reply(static_cast<uint8_t>(0x40 + i), "NAS", 0x0A000000u + i), i - 1, &created);
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(created);
        EXPECT_EQ(e->nItemId, i);
        EXPECT_EQ(e->nInterfaceIndex, i - 1);
    }
    ASSERT_EQ(list.GetCount(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(list.GetAt(i)->nItemId, static_cast<int>(i + 1));
    EXPECT_EQ(list.FindByItemId(3)->abMac[5], 0x43);
    EXPECT_EQ(list.FindByItemId(6), nullptr);
    EXPECT_EQ(list.FindByItemId(0), nullptr);
}

TEST(DeviceList, RepeatedReplyUpdatesButKeepsNumberAndInterface) {
    CDeviceList list;
    bool created = false;
    DeviceEntry* first = list.Add(Reply(1, "OLDNAME", 0x0A01A8C0u), 0, &created);
    list.Add(Reply(2, "OTHER", 0x0B01A8C0u), 0, &created);
    DeviceEntry* again = list.Add(Reply(1, "NEWNAME", 0x0A02A8C0u, 3, 1), 1, &created);
    EXPECT_FALSE(created);
    EXPECT_EQ(again, first);
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_STREQ(again->szServerName, "NEWNAME");
    EXPECT_EQ(again->dwAddress, 0x0A02A8C0u);
    EXPECT_EQ(again->wState, 3);
    EXPECT_EQ(again->bPasswordSet, 1);
    EXPECT_EQ(again->nItemId, 1);
    EXPECT_EQ(again->nInterfaceIndex, 0);
}

// A LAN's worth of appliances whose MACs differ in every byte, each round of the search bringing all again.
TEST(DeviceList, ManyAppliancesEachFoundByTheirOwnMac) {
    CDeviceList list;
    bool created = false;
    auto reply = [](int i) {
        DeviceInfo info = Reply(0, "NAS", static_cast<uint32_t>(i));
        const uint8_t mac[6] = {
            static_cast<uint8_t>(i >> 8), 0x5A, 0x54, static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i >> 4),
            static_cast<uint8_t>(i)};
        memcpy(info.settings.abMac, mac, 6);
        return info;
    };
    const int n = 3000;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < n; ++i) {
            DeviceEntry* e = list.Add(reply(i), round, &created);
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(created, round == 0);
            EXPECT_EQ(e->nItemId, i + 1);
            EXPECT_EQ(e->nInterfaceIndex, 0);
        }
    }
    EXPECT_EQ(list.GetCount(), static_cast<size_t>(n));
    for (int i = 0; i < n; i += 97) {
        DeviceInfo info = reply(i);
        EXPECT_EQ(list.FindByMac(info.settings.abMac), list.FindByItemId(i + 1));
        EXPECT_EQ(memcmp(list.FindByItemId(i + 1)->abMac, info.settings.abMac, 6), 0);
    }
    const uint8_t unknown[6] = {0xFF, 0x5A, 0x54, 0, 0, 0};
    EXPECT_EQ(list.FindByMac(unknown), nullptr);
}

TEST(DeviceList, EmptiedListStartsNumberingAgain) {
    CDeviceList list;
    bool created = false;
    list.Add(Reply(1, "A", 1), 0, &created);
    list.Add(Reply(2, "B", 2), 0, &created);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.Add(Reply(2, "B", 2), -1, &created)->nItemId, 1);
    EXPECT_TRUE(created);
}

TEST(DeviceList, FullServerNameIsCopiedWithinItsField) {
    CDeviceList list;
    bool created = false;
    DeviceInfo info = Reply(1, "", 1);
    memcpy(info.settings.szServerName, "ABCDEFGHIJKLMN", 15);  // 14 characters and the terminator
    DeviceEntry* e = list.Add(info, 0, &created);
    EXPECT_STREQ(e->szServerName, "ABCDEFGHIJKLMN");
}

}  // namespace
