// The time-zone table and the names the pages show from it.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "../TimeZones.h"

namespace {

TEST(TimeZones, DisplayNamesDifferInRows40And60Only) {
    for (int i = 0; i < TIME_ZONE_COUNT; ++i) {
        ASSERT_NE(g_timeZoneNames[i], nullptr);
        if (i == 40 || i == 60)
            EXPECT_STRNE(g_timeZoneNames[i], TimeZoneDisplayName(i)) << i;
        else
            EXPECT_STREQ(g_timeZoneNames[i], TimeZoneDisplayName(i)) << i;
    }
    EXPECT_STREQ(g_timeZoneNames[40], "(GMT+05:00) Ekaterinburg");
    EXPECT_STREQ(TimeZoneDisplayName(40), "(GMT+05:00) Eekaterinburg");
    EXPECT_STREQ(g_timeZoneNames[60], "(GMT+11:00) Magadan, Solomon Is., New Caledonia");
    EXPECT_STREQ(TimeZoneDisplayName(60), "(GMT+11:00) Magadan, Solomon Is.,New Caledonia");
}

TEST(TimeZones, RowsInIndexOrder) {
    EXPECT_STREQ(g_timeZoneNames[0], "(GMT-12:00) Eniwetok, Kwajalein");
    EXPECT_STREQ(g_timeZoneNames[4], "(GMT-08:00) Pacific Time (US & Canada); Tijuana");
    EXPECT_STREQ(g_timeZoneNames[7], "(GMT-06:00) Central Time (US & Canda)");
    EXPECT_STREQ(g_timeZoneNames[16], "(GMT-03:30) Newfoundland");
    EXPECT_STREQ(g_timeZoneNames[21], "(GMT) Casablanca, Monrovia");
    EXPECT_STREQ(g_timeZoneNames[22], "(GMT) Greenwich Mean Time: Edinburgh, London");
    EXPECT_STREQ(g_timeZoneNames[39], "(GMT+04:30) Kabul");
    EXPECT_STREQ(g_timeZoneNames[41], "(GMT+05:00) Islamabad, Karachi, Tashkent");
    EXPECT_STREQ(g_timeZoneNames[59], "(GMT+10:00) Vladivostok");
    EXPECT_STREQ(g_timeZoneNames[61], "(GMT+12:00) Auckland, Wellington");
    EXPECT_STREQ(g_timeZoneNames[62], "(GMT+12:00) Fiji, Kamchatka, Marshall Is.");
    // Offsets never go down along the table.
    auto offset = [](const char* name) {
        std::string s(name);
        if (s.rfind("(GMT)", 0) == 0) return 0;
        int sign = s[4] == '-' ? -1 : 1;
        return sign * (std::stoi(s.substr(5, 2)) * 60 + std::stoi(s.substr(8, 2)));
    };
    for (int i = 1; i < TIME_ZONE_COUNT; ++i)
        EXPECT_LE(offset(g_timeZoneNames[i - 1]), offset(g_timeZoneNames[i])) << i;
}

TEST(TimeZones, DisplayNameOfAnIndexOutsideTheTableIsEmpty) {
    for (int32_t bad : {-1, 63, 64, INT_MIN, INT_MAX}) EXPECT_STREQ(TimeZoneDisplayName(bad), "") << bad;
}

}  // namespace
