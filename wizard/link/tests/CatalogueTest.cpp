// The payload-length table and the transaction counter.
#include <gtest/gtest.h>

#include "../PacketCatalogue.h"
#include "../PacketHeader.h"

namespace {

TEST(PayloadLength, KnownTypes) {
    uint8_t packet[MAX_PACKET] = {};
    const struct {
        uint16_t type;
        int length;
    } rows[] = {{0, 0}, {2, 0}, {16, 0}, {17, 234}, {18, 21}, {19, 21}, {22, 0}, {23, 1023}, {24, 2}, {25, 8}};
    for (const auto& row : rows) EXPECT_EQ(PayloadLength(row.type, packet), row.length) << row.type;
}

TEST(PayloadLength, UnknownTypesAreRefused) {
    uint8_t packet[MAX_PACKET] = {};
    for (uint16_t type : {1, 3, 15, 20, 21, 26, 147, 0x0100, 0x1000, 0xFFFF})
        EXPECT_EQ(PayloadLength(type, packet), -1) << type;
}

TEST(PayloadLength, RecordListCountsIn160ByteRecordsReadLittleEndian) {
    uint8_t packet[MAX_PACKET] = {};
    packet[14] = 6;
    EXPECT_EQ(PayloadLength(25, packet), 8 + 960);
    // Seven records would run past the 1031-byte packet.
    packet[14] = 7;
    EXPECT_EQ(PayloadLength(25, packet), -1);
    packet[14] = 1;
    packet[15] = 1;  // 257 records
    EXPECT_EQ(PayloadLength(25, packet), -1);
    packet[14] = 0;
    packet[15] = 0;
    packet[16] = 6;  // not part of the count
    EXPECT_EQ(PayloadLength(25, packet), 8);
}

TEST(NextSequence, CountsUpAndFoldsAbove10000To1000) {
    EXPECT_EQ(NextSequenceValue(0), 1);
    EXPECT_EQ(NextSequenceValue(1), 2);
    EXPECT_EQ(NextSequenceValue(9999), 10000);
    EXPECT_EQ(NextSequenceValue(10000), 1000);
    EXPECT_EQ(NextSequenceValue(0xFFFF), 1000);  // no wrap to 0
}

TEST(NextSequence, NeverZeroAndWithinRangeFromAnyStart) {
    for (unsigned start = 0; start <= 0xFFFF; ++start) {
        uint16_t w = NextSequenceValue(static_cast<uint16_t>(start));
        ASSERT_GE(w, 1) << start;
        ASSERT_LE(w, 10000) << start;
    }
}

}  // namespace
