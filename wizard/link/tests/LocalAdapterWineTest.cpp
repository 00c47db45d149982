// The adapter of the subnet test on a PC with sixteen interfaces (the lab's 198.18.1.1/24 ... 198.18.16.1/24),
// more than the first 10240-byte buffer of the enumeration holds: the first one listed, or the one holding a
// given local address, with its own mask.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "../LocalAdapter.h"

namespace {

// ZT_PC_ADDR1, ZT_PC_ADDR2, ...: the PC's addresses in the lab.
std::vector<std::string> PcAddresses() {
    std::vector<std::string> addresses;
    for (int i = 1;; ++i) {
        const char* p = getenv(("ZT_PC_ADDR" + std::to_string(i)).c_str());
        if (!p) return addresses;
        addresses.push_back(p);
    }
}

}  // namespace

TEST(LocalAdapter, FirstAdapterWithoutAPreference) {
    const std::vector<std::string> pc = PcAddresses();
    ASSERT_GT(pc.size(), 14u) << "more adapters than the first buffer holds";
    CLocalAdapter adapter;
    ASSERT_TRUE(adapter.Choose()) << adapter.GetError();
    ASSERT_TRUE(adapter.HasAdapter());
    EXPECT_NE(std::find(pc.begin(), pc.end(), adapter.GetAddress()), pc.end()) << adapter.GetAddress();
    EXPECT_STREQ(adapter.GetMask(), "255.255.255.0");
}

TEST(LocalAdapter, TheAdapterHoldingThePreferredAddress) {
    for (const std::string& address : PcAddresses()) {
        CLocalAdapter adapter;
        ASSERT_TRUE(adapter.Choose(inet_addr(address.c_str()))) << adapter.GetError();
        EXPECT_EQ(adapter.GetAddress(), address);
        EXPECT_STREQ(adapter.GetMask(), "255.255.255.0");
    }
}

TEST(LocalAdapter, AnAddressNoAdapterHoldsGivesTheFirst) {
    CLocalAdapter first, other;
    ASSERT_TRUE(first.Choose());
    ASSERT_TRUE(other.Choose(inet_addr("198.18.99.1")));
    EXPECT_STREQ(other.GetAddress(), first.GetAddress());
    EXPECT_STREQ(other.GetMask(), first.GetMask());
}
