// CheckNumber: each rule, the order in which they are looked at, and long inputs.
#include <gtest/gtest.h>

#include <string>

#include "CheckNumber.h"

namespace {

struct Case {
    std::string text;
    int nMin, nMax;
    int n, nFlags;
    int expected;
};

const Case CASES[] = {
    {"", 0, 255, 3, 5, CHECK_NUMBER_EMPTY},
    // The first non-digit wins over length and range.
    {"1a", 0, 255, 3, 0, CHECK_NUMBER_NOT_DIGIT},
    {"-1", -5, 255, 3, 0, CHECK_NUMBER_NOT_DIGIT},
    {" 1", 0, 255, 3, 0, CHECK_NUMBER_NOT_DIGIT},
    {"12345x", 0, 9, 3, 1, CHECK_NUMBER_NOT_DIGIT},
    // Leading zeros are digits; the range is inclusive.
    {"007", 0, 255, 0, 0, CHECK_NUMBER_VALID},
    {"0", 0, 255, 3, 5, CHECK_NUMBER_VALID},
    {"255", 0, 255, 3, 5, CHECK_NUMBER_VALID},
    {"256", 0, 255, 3, 5, CHECK_NUMBER_RANGE},
    {"0", 1, 12, 0, 0, CHECK_NUMBER_RANGE},
    {"1", 1, 12, 0, 0, CHECK_NUMBER_VALID},
    // The length rules come before the range.
    {"1234", 0, 9999, 3, 1, CHECK_NUMBER_LENGTH},
    {"1234", 0, 255, 3, 1, CHECK_NUMBER_LENGTH},  // out of range too, length first
    {"123", 0, 9999, 4, 2, CHECK_NUMBER_LENGTH},
    {"12345", 0, 99999, 4, 2, CHECK_NUMBER_LENGTH},
    {"2026", 0, 9999, 4, 2, CHECK_NUMBER_VALID},
    {"123", 0, 999, 3, 1, CHECK_NUMBER_VALID},
    // The IP settings page's flags 5: only bit value 1 counts.
    {"12", 0, 255, 3, 5, CHECK_NUMBER_VALID},
    {"0255", 0, 255, 3, 5, CHECK_NUMBER_LENGTH},
    // Without flags there is no length rule, whatever n is; other bits have no effect.
    {"0000000042", 0, 255, 3, 0, CHECK_NUMBER_VALID},
    {"1234", 0, 9999, 3, 4, CHECK_NUMBER_VALID},
    // Long runs of digits never wrap into the range: 4294967297 wraps to 1 in 32 bits, 18446744073709551617
    // in 64.
    {"4294967297", 0, 255, 0, 0, CHECK_NUMBER_RANGE},
    {"18446744073709551617", 0, 255, 0, 0, CHECK_NUMBER_RANGE},
    {std::string(5000, '9'), 0, 0x7fffffff, 0, 0, CHECK_NUMBER_RANGE},
    {"2147483647", 0, 0x7fffffff, 0, 0, CHECK_NUMBER_VALID},
    {std::string(300, '0') + "7", 0, 9, 0, 0, CHECK_NUMBER_VALID},
};

}  // namespace

TEST(CheckNumber, EachRuleInItsOrder) {
    for (const Case& c : CASES)
        EXPECT_EQ(CheckNumber(c.text.c_str(), c.nMin, c.nMax, c.n, c.nFlags), c.expected)
            << "\"" << c.text.substr(0, 24) << "\" in " << c.nMin << ".." << c.nMax << ", n " << c.n << ", flags "
            << c.nFlags;
    EXPECT_EQ(CheckNumber(nullptr, 0, 255, 3, 5), CHECK_NUMBER_EMPTY);
}
