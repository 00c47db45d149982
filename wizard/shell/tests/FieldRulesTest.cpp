// The typed-field rules of the IP settings and server pages: checks, store and load.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FieldRules.h"
#include "../widgets/CheckNumber.h"

namespace {

struct IpTexts {
    std::string t[IP_FIELD_COUNT];
    const char* p[IP_FIELD_COUNT];
    IpTexts() {
        const char* loaded[12] = {"192", "168", "1", "20", "255", "255", "255", "0", "192", "168", "1", "1"};
        for (int i = 0; i < 12; ++i) t[i] = loaded[i];
    }
    const char* const (&Get())[IP_FIELD_COUNT] {
        for (int i = 0; i < IP_FIELD_COUNT; ++i) p[i] = t[i].c_str();
        return p;
    }
};

ServerPageTexts Texts(const char* name, const char* wg, const char* m, const char* d, const char* y, const char* h,
                      const char* mi) {
    return ServerPageTexts{name, wg, m, d, y, h, mi};
}

}  // namespace

TEST(IpFields, LoadedValuesPassAndEmptyAddressOctetsAreSkipped) {
    IpTexts f;
    EXPECT_EQ(CheckIpFields(f.Get(), true, false).nResult, CHECK_NUMBER_VALID);
    f.t[0] = "";
    f.t[7] = "";
    EXPECT_EQ(CheckIpFields(f.Get(), true, false).nResult, CHECK_NUMBER_VALID);
}

TEST(IpFields, TypingTwoFiveSixStopsAtTheThirdDigit) {
    IpTexts f;
    for (const char* typed : {"2", "25"}) {
        f.t[2] = typed;
        EXPECT_EQ(CheckIpFields(f.Get(), true, false).nResult, CHECK_NUMBER_VALID) << typed;
    }
    f.t[2] = "256";
    IpCheckOutcome o = CheckIpFields(f.Get(), true, false);
    EXPECT_EQ(o.nResult, CHECK_NUMBER_RANGE);
    EXPECT_EQ(o.nField, 2);
    EXPECT_EQ(o.nMin, 0);
    EXPECT_EQ(o.nMax, 255);
}

TEST(IpFields, EmptyGatewayOctetStopsWithoutRange) {
    IpTexts f;
    f.t[10] = "";
    IpCheckOutcome o = CheckIpFields(f.Get(), true, false);
    EXPECT_EQ(o.nResult, CHECK_NUMBER_EMPTY);
    EXPECT_EQ(o.nField, 10);
}

TEST(IpFields, LetterIsNotNumericAndDhcpClientChecksNothing) {
    IpTexts f;
    f.t[5] = "2x5";
    EXPECT_EQ(CheckIpFields(f.Get(), true, false).nResult, CHECK_NUMBER_NOT_DIGIT);
    EXPECT_EQ(CheckIpFields(f.Get(), false, true).nResult, CHECK_NUMBER_VALID);
}

TEST(IpFields, DhcpServerOnCoversTheRangeOctetsWithTheirOwnRange) {
    IpTexts f;
    // The address copies are empty and pass; the first range octet a user types into does not.
    IpCheckOutcome o = CheckIpFields(f.Get(), true, true);
    EXPECT_EQ(o.nResult, CHECK_NUMBER_EMPTY);
    EXPECT_EQ(o.nField, 15);
    f.t[15] = "255";
    o = CheckIpFields(f.Get(), true, true);
    EXPECT_EQ(o.nResult, CHECK_NUMBER_RANGE);
    EXPECT_EQ(o.nMin, 1);
    EXPECT_EQ(o.nMax, 254);
    f.t[15] = "10";
    f.t[16] = "200";
    EXPECT_EQ(CheckIpFields(f.Get(), true, true).nResult, CHECK_NUMBER_VALID);
}

TEST(IpFields, OctetValues) {
    EXPECT_EQ(OctetValue(""), 0);
    EXPECT_EQ(OctetValue("7"), 7);
    EXPECT_EQ(OctetValue("007"), 7);
    EXPECT_EQ(OctetValue("1a"), 0);
    EXPECT_EQ(OctetValue("300"), 300 & 0xFF);
    EXPECT_EQ(OctetValue("2561"), 2561 & 0xFF);
    EXPECT_EQ(OctetValue("25612"), 2561 & 0xFF);  // four characters read
}

TEST(NameChars, EighteenForbiddenAndSpaceOnlyForTheServerName) {
    const char forbidden[] = "\"'*+,./:;<=>?[\\]`|";
    ASSERT_EQ(strlen(forbidden), 18u);
    for (const char* p = forbidden; *p; ++p) {
        const char name[] = {'N', *p, 'S', 0};
        EXPECT_EQ(CheckNameChars(name), 0) << *p;
        EXPECT_EQ(CheckServerNameChars(name), 0) << *p;
    }
    EXPECT_EQ(CheckNameChars("WORK GROUP"), 1);
    EXPECT_EQ(CheckServerNameChars("NAS 1"), 0);
    EXPECT_EQ(CheckServerNameChars("NAS-1_x!"), 1);
    EXPECT_EQ(CheckNameChars(""), 1);
}

TEST(ServerPageCheck, NamesGiveTheirMessagesAndAnEmptyNameOnlyIncomplete) {
    auto o = CheckServerPage(Texts("NAS 1", "WG", "04", "30", "2004", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::ServerNameChars);
    o = CheckServerPage(Texts("NAS.1", "WG", "04", "30", "2004", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::ServerNameChars);
    o = CheckServerPage(Texts("NAS1", "W.G", "04", "30", "2004", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::WorkgroupChars);
    o = CheckServerPage(Texts("NAS1", "W G", "04", "30", "2004", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::None);
    EXPECT_EQ(o.bComplete, 1);
    // A refused name keeps the page incomplete, so that Next cannot carry it to the appliance.
    EXPECT_EQ(CheckServerPage(Texts("NAS 1", "WG", "04", "30", "2004", "1", "05")).bComplete, 0);
    EXPECT_EQ(CheckServerPage(Texts("NAS1", "W.G", "04", "30", "2004", "1", "05")).bComplete, 0);
    o = CheckServerPage(Texts("", "", "04", "30", "2004", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::None);
    EXPECT_EQ(o.bComplete, 0);
}

TEST(ServerPageCheck, DayRangeFollowsMonthAndLeapYears) {
    auto o = CheckServerPage(Texts("N", "", "4", "31", "2004", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::Range);
    EXPECT_EQ(o.field, ServerField::Day);
    EXPECT_EQ(o.nMin, 1);
    EXPECT_EQ(o.nMax, 30);
    for (const char* year : {"2000", "2004"})
        EXPECT_EQ(CheckServerPage(Texts("N", "", "02", "29", year, "1", "05")).bComplete, 1) << year;
    o = CheckServerPage(Texts("N", "", "02", "29", "2003", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::Range);
    EXPECT_EQ(o.nMax, 28);
    // While the year is being retyped digit by digit ("2", "20", "200"), 29 February waits for the whole year.
    for (const char* partial : {"", "2", "20", "200"}) {
        o = CheckServerPage(Texts("N", "", "02", "29", partial, "1", "05"));
        EXPECT_EQ(o.message, ServerMessage::None) << partial;
        EXPECT_EQ(o.bComplete, 0) << partial;
    }
    EXPECT_EQ(CheckServerPage(Texts("N", "", "02", "30", "200", "1", "05")).nMax, 29);
}

TEST(ServerPageCheck, YearHourMinuteRules) {
    auto o = CheckServerPage(Texts("N", "", "01", "01", "1979", "1", "05"));
    EXPECT_EQ(o.field, ServerField::Year);
    EXPECT_EQ(o.nMin, 1980);
    EXPECT_EQ(o.nMax, 2030);
    o = CheckServerPage(Texts("N", "", "01", "01", "203", "1", "05"));
    EXPECT_EQ(o.message, ServerMessage::None);
    EXPECT_EQ(o.bComplete, 0);
    EXPECT_EQ(CheckServerPage(Texts("N", "", "01", "01", "2030", "13", "05")).field, ServerField::Hour);
    EXPECT_EQ(CheckServerPage(Texts("N", "", "01", "01", "2030", "00", "05")).field, ServerField::Hour);
    // The first digit of "02", "09": incomplete without a message, for month, day and hour.
    for (auto texts : {Texts("N", "", "0", "01", "2030", "1", "05"), Texts("N", "", "01", "0", "2030", "1", "05"),
                       Texts("N", "", "01", "01", "2030", "0", "05")}) {
        o = CheckServerPage(texts);
        EXPECT_EQ(o.message, ServerMessage::None);
        EXPECT_EQ(o.bComplete, 0);
    }
    EXPECT_EQ(CheckServerPage(Texts("N", "", "00", "01", "2030", "1", "05")).field, ServerField::Month);
    EXPECT_EQ(CheckServerPage(Texts("N", "", "01", "01", "2030", "12", "60")).field, ServerField::Minute);
    // A minute of one character is checked as one of two: a pasted letter is refused, a digit (0 too) is a minute.
    o = CheckServerPage(Texts("N", "", "01", "01", "2030", "12", "x"));
    EXPECT_EQ(o.message, ServerMessage::NotNumeric);
    EXPECT_EQ(o.field, ServerField::Minute);
    EXPECT_EQ(o.bComplete, 0);
    for (const char* minute : {"0", "7"}) {
        o = CheckServerPage(Texts("N", "", "01", "01", "2030", "12", minute));
        EXPECT_EQ(o.message, ServerMessage::None) << minute;
        EXPECT_EQ(o.bComplete, 1) << minute;
    }
    EXPECT_EQ(CheckServerPage(Texts("N", "", "01", "01", "2030", "12", "")).bComplete, 0);
    o = CheckServerPage(Texts("N", "", "1a", "01", "2030", "12", "00"));
    EXPECT_EQ(o.message, ServerMessage::NotNumeric);
    EXPECT_EQ(o.field, ServerField::Month);
}

TEST(Clock, StoreTwelveHourFields) {
    char t[9];
    StoreTime("12", "00", false, t);
    EXPECT_STREQ(t, "00:00:00");
    StoreTime("12", "30", true, t);
    EXPECT_STREQ(t, "12:30:00");
    StoreTime("1", "5", true, t);
    EXPECT_STREQ(t, "13:05:00");
    StoreTime("", "", false, t);
    EXPECT_STREQ(t, "00:00:00");
    char d[11];
    StoreDate("7", "4", "2004", d);
    EXPECT_STREQ(d, "07/04/2004");
    StoreDate("", "", "20", d);
    EXPECT_STREQ(d, "00/00/0020");
}

TEST(Clock, LoadSplitsAndConvertsToTwelveHours) {
    char date[11] = "02/29/2004";
    char time[9] = "00:05:00";
    LoadedClock c = LoadClock(date, time);
    EXPECT_STREQ(c.szMonth, "02");
    EXPECT_STREQ(c.szDay, "29");
    EXPECT_STREQ(c.szYear, "2004");
    EXPECT_STREQ(c.szHour, "12");
    EXPECT_FALSE(c.bPm);
    EXPECT_STREQ(c.szMinute, "05");
    memcpy(time, "12:59:30", 9);
    c = LoadClock(date, time);
    EXPECT_STREQ(c.szHour, "12");
    EXPECT_TRUE(c.bPm);
    memcpy(time, "23:00:00", 9);
    EXPECT_STREQ(LoadClock(date, time).szHour, "11");
    // Unterminated fields from an appliance stay inside their bytes.
    memset(date, '9', sizeof date);
    memset(time, '9', sizeof time);
    c = LoadClock(date, time);
    EXPECT_STREQ(c.szYear, "9999");
    EXPECT_STREQ(c.szMinute, "99");
}

TEST(Clock, StoreThenLoadRoundTrips) {
    for (int h = 0; h < 24; ++h) {
        char stored[9];
        snprintf(stored, sizeof stored, "%02d:41:00", h);
        char date[11] = "01/01/2001";
        LoadedClock c = LoadClock(date, stored);
        char again[9];
        StoreTime(c.szHour, c.szMinute, c.bPm, again);
        EXPECT_STREQ(again, stored);
    }
}

TEST(StoredText, TimeZoneTrimAndServerNameClearsTheNote) {
    EXPECT_EQ(NormalizeTimeZone(63), 4);
    EXPECT_EQ(NormalizeTimeZone(-1), 4);
    EXPECT_EQ(NormalizeTimeZone(62), 62);
    EXPECT_EQ(NormalizeTimeZone(0), 0);
    DeviceSettings s;
    memset(&s, 0xAB, sizeof s);
    StoreServerName(s, "  NAS-7\t ");
    EXPECT_STREQ(s.szServerName, "NAS-7");
    for (char c : s.szServerName) (void)c;
    for (size_t i = 5; i < sizeof s.szServerName; ++i) EXPECT_EQ(s.szServerName[i], 0);
    for (char c : s.szNote) EXPECT_EQ(c, 0);
    EXPECT_EQ(static_cast<uint8_t>(s.szDate[0]), 0xAB);  // the record past the 64 bytes is untouched
    StoreTrimmed(" WORKGROUP-LONGER-NAME ", s.szWorkgroup, sizeof s.szWorkgroup, 15);
    EXPECT_STREQ(s.szWorkgroup, "WORKGROUP-LONGE");
}
