// The reader of received bytes: little-endian fields, the error flag that stays set after the first short
// read, and fields that never reach past what was received.
#include <gtest/gtest.h>

#include <cstring>

#include "ByteReader.h"

namespace {

TEST(ByteReader, FieldsAreLittleEndianAndSigned) {
    const uint8_t bytes[] = {0x01, 0x02, 0x9B, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x7F};
    CByteReader r(bytes, sizeof bytes);
    EXPECT_EQ(r.ReadU16(), 0x0201);
    EXPECT_EQ(r.ReadI16(), -101);
    EXPECT_EQ(r.ReadI32(), -2);
    EXPECT_EQ(r.ReadU8(), 0x7F);
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(ByteReader, ShortReadFailsAndStaysFailed) {
    const uint8_t bytes[5] = {1, 2, 3, 4, 5};
    CByteReader r(bytes, sizeof bytes);
    EXPECT_EQ(r.ReadI32(), 0x04030201);
    EXPECT_EQ(r.ReadU16(), 0);  // one byte left
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.ReadU8(), 0);  // the byte that is left is not handed out after a failure
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.Remaining(), 0u);

    CByteReader none(nullptr, 100);
    EXPECT_EQ(none.ReadU8(), 0);
    EXPECT_FALSE(none.Ok());
}

TEST(ByteReader, ShortBytesFieldIsZeroedNotPartlyCopied) {
    const uint8_t bytes[5] = {1, 2, 3, 4, 5};
    CByteReader r(bytes, sizeof bytes);
    uint8_t dst[8];
    memset(dst, 0x77, sizeof dst);
    r.ReadBytes(dst, 6);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(dst[0], 0);
    EXPECT_EQ(dst[5], 0);
    EXPECT_EQ(dst[6], 0x77);  // nothing past the field
}

TEST(ByteReader, AvailableCopiesWhatIsLeftAndZeroFills) {
    const uint8_t bytes[5] = {1, 2, 3, 4, 5};
    CByteReader r(bytes, sizeof bytes);
    r.Skip(4);
    uint8_t dst[8];
    memset(dst, 0x77, sizeof dst);
    EXPECT_EQ(r.ReadAvailable(dst, 8), 1u);
    EXPECT_EQ(dst[0], 5);
    EXPECT_EQ(dst[1], 0);
    EXPECT_EQ(dst[7], 0);
    EXPECT_TRUE(r.Ok());
}

TEST(ByteReader, TextStopsAtTheFirstNulOrTheFieldWidth) {
    const uint8_t terminated[6] = {'a', 'b', 0, 'c', 'd', 'e'};
    CByteReader r1(terminated, 6);
    EXPECT_EQ(r1.ReadText(5), "ab");
    EXPECT_EQ(r1.Position(), 5u);
    const uint8_t open[4] = {'w', 'x', 'y', 'z'};
    CByteReader r2(open, 4);
    EXPECT_EQ(r2.ReadText(3), "wxy");  // never past the field, whatever follows
    EXPECT_EQ(r2.ReadText(2), "");     // field wider than what is left
    EXPECT_FALSE(r2.Ok());
}

}  // namespace
