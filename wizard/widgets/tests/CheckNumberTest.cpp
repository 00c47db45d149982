// CheckNumber: each rule, the order in which they are looked at, and long inputs.
#include <gtest/gtest.h>

#include <string>

#include "CheckNumber.h"

TEST(CheckNumber, EmptyAndMissingTextAreEmpty) {
    EXPECT_EQ(CheckNumber("", 0, 255, 3, 5), CHECK_NUMBER_EMPTY);
    EXPECT_EQ(CheckNumber(nullptr, 0, 255, 3, 5), CHECK_NUMBER_EMPTY);
}

TEST(CheckNumber, FirstNonDigitWinsOverLengthAndRange) {
    EXPECT_EQ(CheckNumber("1a", 0, 255, 3, 0), CHECK_NUMBER_NOT_DIGIT);
    EXPECT_EQ(CheckNumber("-1", -5, 255, 3, 0), CHECK_NUMBER_NOT_DIGIT);
    EXPECT_EQ(CheckNumber(" 1", 0, 255, 3, 0), CHECK_NUMBER_NOT_DIGIT);
    EXPECT_EQ(CheckNumber("12345x", 0, 9, 3, 1), CHECK_NUMBER_NOT_DIGIT);
}

TEST(CheckNumber, LeadingZerosAreDigitsAndRangeIsInclusive) {
    EXPECT_EQ(CheckNumber("007", 0, 255, 0, 0), CHECK_NUMBER_VALID);
    EXPECT_EQ(CheckNumber("0", 0, 255, 3, 5), CHECK_NUMBER_VALID);
    EXPECT_EQ(CheckNumber("255", 0, 255, 3, 5), CHECK_NUMBER_VALID);
    EXPECT_EQ(CheckNumber("256", 0, 255, 3, 5), CHECK_NUMBER_RANGE);
    EXPECT_EQ(CheckNumber("0", 1, 12, 0, 0), CHECK_NUMBER_RANGE);
    EXPECT_EQ(CheckNumber("1", 1, 12, 0, 0), CHECK_NUMBER_VALID);
}

TEST(CheckNumber, LengthRulesComeBeforeTheRange) {
    EXPECT_EQ(CheckNumber("1234", 0, 9999, 3, 1), CHECK_NUMBER_LENGTH);
    EXPECT_EQ(CheckNumber("1234", 0, 255, 3, 1), CHECK_NUMBER_LENGTH);  // out of range too, length first
    EXPECT_EQ(CheckNumber("123", 0, 9999, 4, 2), CHECK_NUMBER_LENGTH);
    EXPECT_EQ(CheckNumber("12345", 0, 99999, 4, 2), CHECK_NUMBER_LENGTH);
    EXPECT_EQ(CheckNumber("2026", 0, 9999, 4, 2), CHECK_NUMBER_VALID);
    EXPECT_EQ(CheckNumber("123", 0, 999, 3, 1), CHECK_NUMBER_VALID);
    // The IP settings page's flags 5: only bit value 1 counts.
    EXPECT_EQ(CheckNumber("12", 0, 255, 3, 5), CHECK_NUMBER_VALID);
    EXPECT_EQ(CheckNumber("0255", 0, 255, 3, 5), CHECK_NUMBER_LENGTH);
    // Without flags there is no length rule, whatever n is.
    EXPECT_EQ(CheckNumber("0000000042", 0, 255, 3, 0), CHECK_NUMBER_VALID);
    // Other bits have no effect.
    EXPECT_EQ(CheckNumber("1234", 0, 9999, 3, 4), CHECK_NUMBER_VALID);
}

TEST(CheckNumber, LongRunsOfDigitsNeverWrapIntoTheRange) {
    // 4294967297 wraps to 1 in 32 bits; 18446744073709551617 wraps to 1 in 64 bits.
    EXPECT_EQ(CheckNumber("4294967297", 0, 255, 0, 0), CHECK_NUMBER_RANGE);
    EXPECT_EQ(CheckNumber("18446744073709551617", 0, 255, 0, 0), CHECK_NUMBER_RANGE);
    EXPECT_EQ(CheckNumber(std::string(5000, '9').c_str(), 0, 0x7fffffff, 0, 0), CHECK_NUMBER_RANGE);
    EXPECT_EQ(CheckNumber("2147483647", 0, 0x7fffffff, 0, 0), CHECK_NUMBER_VALID);
    EXPECT_EQ(CheckNumber((std::string(300, '0') + "7").c_str(), 0, 9, 0, 0), CHECK_NUMBER_VALID);
}
