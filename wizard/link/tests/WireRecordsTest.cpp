// Wire records against hand-built datagrams: offsets, byte order, and what a short datagram comes to.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../ReplyDecoder.h"

namespace {

// A full info reply whose bytes are placed by the offsets of the protocol, not by the structs.
std::vector<uint8_t> MakeInfoReply() {
    std::vector<uint8_t> d(8 + 254, 0);
    auto put16 = [&](size_t at, uint16_t v) {
        d[at] = v & 0xFF;
        d[at + 1] = v >> 8;
    };
    put16(0, 16);      // type
    put16(2, 0xFF9B);  // status -101
    put16(4, 4321);    // sequence
    put16(6, 254);
    uint8_t* p = d.data() + 8;
    put16(8 + 0, 0x0102);  // wState
    p[2] = 1;              // bPasswordSet
    memcpy(p + 5, "INFO", 4);
    uint8_t* s = p + 20;
    const uint8_t mac[6] = {0, 0x11, 0x22, 0x33, 0x44, 0x55};
    memcpy(s + 0, mac, 6);
    memcpy(s + 6, "SERVER", 6);
    memcpy(s + 70, "12/31/2026", 10);
    memcpy(s + 81, "23:59:00", 8);
    s[90] = 1;
    const uint8_t ip[4] = {192, 168, 1, 20}, mask[4] = {255, 255, 255, 0}, gw[4] = {192, 168, 1, 1};
    memcpy(s + 91, ip, 4);
    memcpy(s + 95, mask, 4);
    memcpy(s + 99, gw, 4);
    s[103] = 7;
    memcpy(s + 113, "WORKGROUP", 9);
    s[162] = 0x3E;  // nTimeZone 62, little-endian
    memset(s + 104, 0xA4, 9);
    memset(s + 166, 0xB6, 25);
    memset(s + 195, 0xC3, 39);
    s[191] = 9;
    return d;
}

TEST(WireRecords, InfoReplyFieldsSitAtTheirOffsets) {
    std::vector<uint8_t> d = MakeInfoReply();
    PacketHeader h;
    DeviceInfo info;
    ASSERT_TRUE(DecodeInfoReply(d.data(), d.size(), h, info));
    EXPECT_EQ(+h.wType, 16);
    EXPECT_EQ(+h.wStatus, -101);  // 0xFF9B read as signed
    EXPECT_EQ(+h.wSequence, 4321);
    EXPECT_EQ(+info.wState, 0x0102);
    EXPECT_EQ(info.bPasswordSet, 1);
    EXPECT_STREQ(info.szInfoText, "INFO");
    const DeviceSettings& s = info.settings;
    EXPECT_EQ(s.abMac[1], 0x11);
    EXPECT_EQ(s.abMac[5], 0x55);
    EXPECT_STREQ(s.szServerName, "SERVER");
    EXPECT_STREQ(s.szDate, "12/31/2026");
    EXPECT_STREQ(s.szTime, "23:59:00");
    EXPECT_EQ(s.bFixedIp, 1);
    EXPECT_EQ(s.abIpAddress[0], 192);
    EXPECT_EQ(s.abIpAddress[3], 20);
    EXPECT_EQ(s.abSubnetMask[2], 255);
    EXPECT_EQ(s.abGateway[3], 1);
    EXPECT_EQ(s.bDhcpServerOff, 7);
    EXPECT_STREQ(s.szWorkgroup, "WORKGROUP");
    EXPECT_EQ(+s.nTimeZone, 62);
    EXPECT_EQ(s.abReportedAddress[0], 9);
    // The uninterpreted bytes come through as they were sent, ready to go back unchanged.
    EXPECT_EQ(memcmp(&s, d.data() + 28, sizeof s), 0);
}

TEST(WireRecords, NegativeTimeZoneIsSignedLittleEndian) {
    std::vector<uint8_t> d = MakeInfoReply();
    memset(d.data() + 28 + 162, 0xFF, 4);
    PacketHeader h;
    DeviceInfo info;
    ASSERT_TRUE(DecodeInfoReply(d.data(), d.size(), h, info));
    EXPECT_EQ(+info.settings.nTimeZone, -1);
}

TEST(WireRecords, DatagramShorterThanHeaderIsRefused) {
    std::vector<uint8_t> d = MakeInfoReply();
    PacketHeader h;
    for (size_t n = 0; n < 8; ++n) EXPECT_FALSE(DecodeHeader(d.data(), n, h)) << n;
    EXPECT_TRUE(DecodeHeader(d.data(), 8, h));
    EXPECT_FALSE(DecodeHeader(nullptr, 100, h));
}

// A reply that stops before the end of the info record is no appliance: completed with zeros it was listed
// with MAC 00:00:00:00:00:00. Nothing of it is handed on, nor anything an earlier reply left in the record.
TEST(WireRecords, InfoReplyShorterThanTheRecordIsRefused) {
    std::vector<uint8_t> d = MakeInfoReply();
    PacketHeader h;
    DeviceInfo info;
    const DeviceInfo zero{};
    for (size_t n : {size_t{8}, size_t{8 + 26}, d.size() - 1}) {
        memset(&info, 0x5A, sizeof info);
        EXPECT_FALSE(DecodeInfoReply(d.data(), n, h, info)) << n;
        EXPECT_EQ(memcmp(&info, &zero, sizeof info), 0) << n;
    }
    EXPECT_TRUE(DecodeInfoReply(d.data(), d.size(), h, info));
}

}  // namespace
