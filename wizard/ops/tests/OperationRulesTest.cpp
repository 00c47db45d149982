// Subnet test, destinations of the attempts, the search's steps and the composed requests.
#include <gtest/gtest.h>

#include <cstring>

#include "../OperationRules.h"

namespace {

constexpr uint32_t Addr(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return static_cast<uint32_t>(a) | (static_cast<uint32_t>(b) << 8) | (static_cast<uint32_t>(c) << 16) |
           (static_cast<uint32_t>(d) << 24);
}

TEST(DottedQuad, ParsesOnlyFourOctets) {
    uint8_t o[4];
    ASSERT_TRUE(ParseDottedQuad("198.18.1.1", o));
    EXPECT_EQ(o[0], 198);
    EXPECT_EQ(o[3], 1);
    ASSERT_TRUE(ParseDottedQuad("0.0.0.0", o));
    ASSERT_TRUE(ParseDottedQuad("255.255.255.255", o));
    for (const char* bad :
         {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.4 ", "a.b.c.d", "1.2.3.0004", "-1.2.3.4", ".1.2.3"})
        EXPECT_FALSE(ParseDottedQuad(bad, o)) << bad;
    EXPECT_FALSE(ParseDottedQuad(nullptr, o));
}

TEST(Subnet, ComparesMaskedOctets) {
    EXPECT_TRUE(IsOnSubnet("198.18.1.1", "255.255.255.0", Addr(198, 18, 1, 10)));
    EXPECT_FALSE(IsOnSubnet("198.18.1.1", "255.255.255.0", Addr(198, 18, 2, 10)));
    EXPECT_TRUE(IsOnSubnet("198.18.1.1", "255.255.0.0", Addr(198, 18, 2, 10)));
    EXPECT_FALSE(IsOnSubnet("198.18.1.1", "255.255.255.0", 0));
    // No adapter, or text that is not an address: treated as off the subnet.
    EXPECT_FALSE(IsOnSubnet(nullptr, nullptr, Addr(198, 18, 1, 10)));
    EXPECT_FALSE(IsOnSubnet("198.18.1.1", "garbage", Addr(198, 18, 1, 10)));
}

TEST(SetConfigSchedule, TheApplianceOnTheSubnetAndBroadcastOffIt) {
    const uint32_t dev = Addr(198, 18, 1, 10);
    EXPECT_EQ(SetConfigDestination(true, dev), dev);
    EXPECT_EQ(SetConfigDestination(false, dev), BROADCAST_ADDRESS);
    EXPECT_EQ(SetConfigDestination(true, 0), BROADCAST_ADDRESS);
}

TEST(RetrySchedule, TheApplianceOnTheSubnetEveryTimeAndAlternatingOffIt) {
    const uint32_t dev = Addr(198, 18, 9, 10);
    // The first send and the resends at 2, 4 and 6 s are made with 3, 3, 2 and 1 left.
    for (int left : {3, 2, 1}) {
        EXPECT_EQ(RetryDestination(left, true, dev), dev) << left;
        EXPECT_EQ(RetryDestination(left, true, 0), BROADCAST_ADDRESS) << left;
        EXPECT_EQ(RetryDestination(left, false, 0), BROADCAST_ADDRESS) << left;
        EXPECT_EQ(RetryDestination(left, false, BROADCAST_ADDRESS), BROADCAST_ADDRESS) << left;
    }
    EXPECT_EQ(RetryDestination(3, false, dev), dev);
    EXPECT_EQ(RetryDestination(2, false, dev), BROADCAST_ADDRESS);
    EXPECT_EQ(RetryDestination(1, false, dev), dev);
}

TEST(SearchSteps, ResendThenWalkTheLocalAddresses) {
    EXPECT_EQ(NextSearchStep(3, 2, 1), SearchStep::Resend);
    EXPECT_EQ(NextSearchStep(1, 0, 0), SearchStep::Resend);
    EXPECT_EQ(NextSearchStep(0, 2, 1), SearchStep::NextInterface);
    EXPECT_EQ(NextSearchStep(0, 2, 2), SearchStep::Finish);
    EXPECT_EQ(NextSearchStep(0, 0, 0), SearchStep::Finish);
}

TEST(Compose, SetConfigCarriesTheRecordWithTheChosenMac) {
    uint8_t packet[MAX_PACKET];
    memset(packet, 0xEE, sizeof packet);
    DeviceSettings s;
    memset(&s, 0x5C, sizeof s);
    const uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
    ComposeSetConfig(packet, s, mac);
    EXPECT_EQ(memcmp(packet + 8, mac, 6), 0);
    for (int i = 8 + 6; i < 8 + 234; ++i) ASSERT_EQ(packet[i], 0x5C) << i;
    for (int i = 8 + 234; i < MAX_PACKET; ++i) ASSERT_EQ(packet[i], 0) << i;
}

TEST(Compose, PasswordFieldHoldsAtMost14CharactersAndATerminator) {
    uint8_t packet[MAX_PACKET];
    memset(packet, 0xEE, sizeof packet);
    const uint8_t mac[6] = {9, 8, 7, 6, 5, 4};
    ComposeCheckPassword(packet, mac, "ABCDEFGHIJKLMNOPQ");
    const uint8_t* p = packet + 8;
    EXPECT_EQ(memcmp(p, mac, 6), 0);
    EXPECT_EQ(memcmp(p + 6, "ABCDEFGHIJKLMN", 14), 0);
    EXPECT_EQ(p[20], 0);
    EXPECT_EQ(p[21], 0);

    ComposeCheckPassword(packet, mac, "x");
    EXPECT_EQ(p[6], 'x');
    for (int i = 7; i <= 20; ++i) EXPECT_EQ(p[i], 0) << i;
}

TEST(SecureZero, ClearsEveryByte) {
    uint8_t buffer[64];
    memset(buffer, 0xAB, sizeof buffer);
    SecureZero(buffer + 1, 62);
    EXPECT_EQ(buffer[0], 0xAB);
    for (int i = 1; i < 63; ++i) EXPECT_EQ(buffer[i], 0) << i;
    EXPECT_EQ(buffer[63], 0xAB);
}

}  // namespace
