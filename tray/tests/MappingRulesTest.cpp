// The message table of network-connection errors and the drive letters a mapping may use.
#include "MappingRules.h"

#include <gtest/gtest.h>

TEST(WNetErrorText, CodesThatAreNeverShown) {
    std::string text = "untouched";
    EXPECT_FALSE(WNetErrorText(0, text));
    EXPECT_FALSE(WNetErrorText(87, text));
    EXPECT_EQ(text, "untouched");
}

TEST(WNetErrorText, EveryRowOfTheTable) {
    const std::pair<unsigned long, const char*> rows[] = {
        {5, "Access is denied."},
        {53, "The network path was not found."},
        {66, "The network resource type is not correct."},
        {67, "The network name cannot be found."},
        {85, "The local device name is already in use."},
        {86, "The format of the specified password is invalid."},
        {170, "The requested resource is in use."},
        {1200, "The specified device name is invalid."},
        {1202, "The local device name has a remembered connection to another network resource."},
        {1203, "No network provider accepted the given network path."},
        {1204, "The specified network provider name is invalid."},
        {1205, "Unable to open the network connection profile."},
        {1206, "The network connection profile is corrupted."},
        {1208, "An extended error has occurred."},
        {1222, "The network is not present or not started."},
        {1223, "The operation was canceled by the user."},
        {2250, "This network connection does not exist."},
        {2401, "This network connection has files open or requests pending."},
        {2404, "The device is in use by an active process and cannot be disconnected."},
    };
    for (const auto& row : rows) {
        std::string text;
        ASSERT_TRUE(WNetErrorText(row.first, text)) << row.first;
        EXPECT_EQ(text, row.second) << row.first;
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
