// The message table of network-connection errors and the drive letters a mapping may use.
#include "MappingRules.h"

#include <gtest/gtest.h>

TEST(WNetErrorText, CodesThatAreNeverShown) {
    std::string text = "untouched";
    EXPECT_FALSE(WNetErrorText(0, text));
    EXPECT_FALSE(WNetErrorText(87, text));
    EXPECT_EQ(text, "untouched");
}

TEST(WNetErrorText, TableRowsAreSentences) {
    int rows = 0;
    for (unsigned long code = 1; code <= 3000; ++code) {
        std::string text;
        if (!WNetErrorText(code, text)) {
            EXPECT_EQ(code, 87u);
            continue;
        }
        if (text != "Unknown error code = " + std::to_string(code)) {
            ++rows;
            EXPECT_EQ(text.back(), '.') << code;
        }
    }
    EXPECT_EQ(rows, 19);
    // The first, the longest and the last row, where a shifted or cut table would show.
    const std::pair<unsigned long, const char*> ends[] = {
        {5, "Access is denied."},
        {1202, "The local device name has a remembered connection to another network resource."},
        {2404, "The device is in use by an active process and cannot be disconnected."},
    };
    for (const auto& [code, expected] : ends) {
        std::string text;
        ASSERT_TRUE(WNetErrorText(code, text)) << code;
        EXPECT_EQ(text, expected) << code;
    }
}

TEST(WNetErrorText, CodesOutsideTheTableNameTheirNumber) {
    std::string text;
    ASSERT_TRUE(WNetErrorText(1207, text));
    EXPECT_EQ(text, "Unknown error code = 1207");
    ASSERT_TRUE(WNetErrorText(1201, text));
    EXPECT_EQ(text, "Unknown error code = 1201");
    ASSERT_TRUE(WNetErrorText(4294967295UL, text));
    EXPECT_EQ(text, "Unknown error code = 4294967295");
}

TEST(CandidateDriveLetters, CToZWithoutListedLetters) {
    std::vector<std::string> all = CandidateDriveLetters({});
    ASSERT_EQ(all.size(), 24u);
    EXPECT_EQ(all.front(), "C:");
    EXPECT_EQ(all.back(), "Z:");

    // Only letter and colon count; what follows them does not; lower case is another name.
    std::vector<std::string> some = CandidateDriveLetters({"E:", "G:\\", "d:", "H", "A:", "Y:x"});
    std::vector<std::string> expected;
    for (char c = 'C'; c <= 'Z'; ++c) {
        if (c != 'E' && c != 'G' && c != 'Y') {
            expected.push_back(std::string{c, ':'});
        }
    }
    EXPECT_EQ(some, expected);
}

TEST(CandidateDriveLetters, EveryLetterListedLeavesNone) {
    std::vector<std::string> locals;
    for (char c = 'A'; c <= 'Z'; ++c) {
        locals.push_back(std::string{c, ':'});
    }
    EXPECT_TRUE(CandidateDriveLetters(locals).empty());
}
