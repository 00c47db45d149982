// A change of settings: the wizard's field rules judge it, and it touches nothing but its own fields.
#include <gtest/gtest.h>

#include <cstring>

#include "../SettingsChange.h"

namespace {

DeviceSettings Sample() {
    DeviceSettings s;
    for (size_t i = 0; i < sizeof s; ++i) reinterpret_cast<uint8_t*>(&s)[i] = static_cast<uint8_t>(0x80 + i);
    strcpy(s.szServerName, "NAS1");
    strcpy(s.szNote, "note");
    strcpy(s.szDate, "12/08/2026");
    strcpy(s.szTime, "23:15:00");
    strcpy(s.szWorkgroup, "LAB");
    s.bFixedIp = 1;
    s.nTimeZone = 22;
    return s;
}

std::vector<std::string> Errors(void (*fill)(CSettingsChange&)) {
    CSettingsChange c;
    fill(c);
    return c.Check();
}

}  // namespace

TEST(SettingsChange, RefusesWhatTheWizardPagesRefuse) {
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.name = "MY NAS"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.name = "a.b"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.name = "FIFTEEN_CHARS__"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.workgroup = "a.b"; }).size(), 1u);
    EXPECT_TRUE(Errors([](CSettingsChange& c) { c.workgroup = "MY GROUP"; }).empty());
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.ip = "198.18.1.256"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.mask = "255.255.x.0"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.gateway = "1.2.3"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.date = "2003-02-29"; }).size(), 1u);
    EXPECT_TRUE(Errors([](CSettingsChange& c) { c.date = "2004-02-29"; }).empty());
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.date = "1979-01-01"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.date = "2026-04-31"; })[0], "day must be between 1 and 30");
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.time = "24:00"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.time = "7:5"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.timezone = "63"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) { c.dhcp = "yes"; }).size(), 1u);
    EXPECT_EQ(Errors([](CSettingsChange& c) {
                  c.dhcp = "on";
                  c.ip = "198.18.1.20";
              }).size(),
              1u);
}

TEST(SettingsChange, StoresAsThePagesStoreAndKeepsEveryOtherByte) {
    CSettingsChange c;
    c.ip = "198.18.1.20";
    c.timezone = "tokyo";
    c.date = "2027-1-5";
    c.time = "00:07";
    ASSERT_TRUE(c.Check().empty());
    const DeviceSettings before = Sample();
    DeviceSettings after = before;
    c.ApplyTo(after);
    EXPECT_EQ(after.abIpAddress[3], 20);
    EXPECT_EQ(int32_t{after.nTimeZone}, 50);
    EXPECT_STREQ(after.szDate, "01/05/2027");
    EXPECT_STREQ(after.szTime, "00:07:00");
    EXPECT_EQ(after.bDhcpServerOff, 1);

    std::vector<FieldDifference> diff = DiffSettings(before, after);
    std::vector<std::string> fields;
    for (const auto& d : diff) fields.push_back(d.field);
    EXPECT_EQ(fields, (std::vector<std::string>{"ip", "timezone", "date", "time", "dhcp-server-off"}));
    // The bytes no field names went back as they came.
    EXPECT_EQ(memcmp(after.abReserved166, before.abReserved166, sizeof before.abReserved166), 0);
    EXPECT_EQ(memcmp(after.abReserved195, before.abReserved195, sizeof before.abReserved195), 0);

    // A new server name clears the note after it, as the server page does; the difference says so.
    CSettingsChange rename;
    rename.name = " NAS2 ";
    DeviceSettings renamed = before;
    rename.ApplyTo(renamed);
    EXPECT_STREQ(renamed.szServerName, "NAS2");
    diff = DiffSettings(before, renamed);
    ASSERT_EQ(diff.size(), 2u);
    EXPECT_EQ(diff[1].field, "note");
}

TEST(SettingsChange, TimeZoneByIndexOrUniqueName) {
    std::string error;
    EXPECT_EQ(ResolveTimeZone("4", error), 4);
    EXPECT_EQ(ResolveTimeZone("(GMT+09:00) Seoul", error), 51);
    EXPECT_EQ(ResolveTimeZone("HAWAII", error), 2);
    EXPECT_EQ(ResolveTimeZone("GMT+09:00", error), -1);
    EXPECT_NE(error.find("51 (GMT+09:00) Seoul"), std::string::npos);
    EXPECT_EQ(ResolveTimeZone("Atlantis", error), -1);
}
