// The forged datagrams as they go to the raw socket: headers in network order, and a UDP checksum that a
// receiver accepts (its sum over pseudo header, header and data comes to all ones).
#include "../SpoofedDatagram.h"

#include <gtest/gtest.h>

namespace {

const uint32_t APPLIANCE = 198u << 24 | 18u << 16 | 1u << 8 | 10u;
const uint32_t PC = 198u << 24 | 18u << 16 | 1u << 8 | 1u;

uint16_t Be16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

// What a receiver computes over the UDP part, checksum field included.
uint16_t ReceiverSum(const std::vector<uint8_t>& p) {
    const uint32_t src = static_cast<uint32_t>(Be16(p, 12)) << 16 | Be16(p, 14);
    const uint32_t dst = static_cast<uint32_t>(Be16(p, 16)) << 16 | Be16(p, 18);
    const uint32_t pseudo = (src >> 16) + (src & 0xFFFF) + (dst >> 16) + (dst & 0xFFFF) + 17u + Be16(p, 24);
    return OnesComplementSum(p.data() + 20, p.size() - 20, pseudo);
}

}  // namespace

TEST(SpoofedDatagram, HeadersCarryTheForgedSourceAndTheChecksumAddsUp) {
    const std::vector<uint8_t> payload = {0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 'N', 'A', 'S'};
    const std::vector<uint8_t> p = BuildSpoofedDatagram(APPLIANCE, 917, PC, 917, payload);
    ASSERT_EQ(p.size(), 20u + 8u + payload.size());
    EXPECT_EQ(p[0], 0x45);
    EXPECT_EQ(Be16(p, 2), p.size());
    EXPECT_EQ(p[9], 17);
    EXPECT_EQ(std::vector<uint8_t>(p.begin() + 12, p.begin() + 16), (std::vector<uint8_t>{198, 18, 1, 10}));
    EXPECT_EQ(std::vector<uint8_t>(p.begin() + 16, p.begin() + 20), (std::vector<uint8_t>{198, 18, 1, 1}));
    EXPECT_EQ(Be16(p, 20), 917);
    EXPECT_EQ(Be16(p, 22), 917);
    EXPECT_EQ(Be16(p, 24), 8 + payload.size());
    EXPECT_EQ(std::vector<uint8_t>(p.begin() + 28, p.end()), payload);
    EXPECT_EQ(ReceiverSum(p), 0xFFFF);
}

TEST(SpoofedDatagram, ChecksumsHoldForOddEmptyAndFullSizesAndBroadcast) {
    for (size_t n : {size_t{0}, size_t{1}, size_t{7}, size_t{255}, MAX_SPOOFED_PAYLOAD}) {
        std::vector<uint8_t> payload(n);
        for (size_t i = 0; i < n; i++) payload[i] = static_cast<uint8_t>(i * 37 + 11);
        const std::vector<uint8_t> p = BuildSpoofedDatagram(APPLIANCE, 915, 0xFFFFFFFFu, 40000, payload);
        ASSERT_EQ(p.size(), 28 + n) << n;
        EXPECT_EQ(ReceiverSum(p), 0xFFFF) << n;
        EXPECT_NE(Be16(p, 26), 0) << n;  // 0 would tell the receiver there is no checksum
    }
    // A payload that needs fragments is refused: raw sockets send no fragments.
    EXPECT_TRUE(BuildSpoofedDatagram(APPLIANCE, 915, PC, 40000, std::vector<uint8_t>(MAX_SPOOFED_PAYLOAD + 1)).empty());
}

TEST(SpoofedDatagram, OnesComplementSumFoldsItsCarries) {
    const uint8_t words[] = {0xFF, 0xFF, 0x00, 0x01};
    EXPECT_EQ(OnesComplementSum(words, 4), 0x0001);  // 0xFFFF + 1 = 0x10000, folded to 1
    const uint8_t odd[] = {0x12, 0x34, 0x56};
    EXPECT_EQ(OnesComplementSum(odd, 3), 0x1234 + 0x5600);
    EXPECT_EQ(OnesComplementSum(nullptr, 0, 0x1FFFF), 0x0001);
}
