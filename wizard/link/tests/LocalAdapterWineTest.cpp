// The adapter of the subnet test on a PC with two interfaces (the lab's 198.18.1.1/24 and 198.18.2.1/24): the
// first one listed, or the one holding a given local address, with its own mask.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <cstdlib>
#include <string>

#include "../LocalAdapter.h"

namespace {

std::string Env(const char* pszName) {
    const char* p = getenv(pszName);
    return p ? p : "";
}

}  // namespace

TEST(LocalAdapter, FirstAdapterWithoutAPreference) {
    CLocalAdapter adapter;
    ASSERT_TRUE(adapter.Choose());
    ASSERT_TRUE(adapter.HasAdapter());
    const std::string first = adapter.GetAddress();
    EXPECT_TRUE(first == Env("ZT_PC_ADDR1") || first == Env("ZT_PC_ADDR2")) << first;
    EXPECT_STREQ(adapter.GetMask(), "255.255.255.0");
}

TEST(LocalAdapter, TheAdapterHoldingThePreferredAddress) {
    for (const char* pszVar : {"ZT_PC_ADDR1", "ZT_PC_ADDR2"}) {
        const std::string address = Env(pszVar);
        ASSERT_FALSE(address.empty()) << pszVar;
        CLocalAdapter adapter;
        ASSERT_TRUE(adapter.Choose(inet_addr(address.c_str())));
        EXPECT_EQ(adapter.GetAddress(), address);
        EXPECT_STREQ(adapter.GetMask(), "255.255.255.0");
    }
}

TEST(LocalAdapter, AnAddressNoAdapterHoldsGivesTheFirst) {
    CLocalAdapter first, other;
    ASSERT_TRUE(first.Choose());
    ASSERT_TRUE(other.Choose(inet_addr("198.18.9.1")));
    EXPECT_STREQ(other.GetAddress(), first.GetAddress());
    EXPECT_STREQ(other.GetMask(), first.GetMask());
}
