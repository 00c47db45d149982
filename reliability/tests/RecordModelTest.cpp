// The record model of the round-trip runs: its random records are ones the wizard's own field rules let a
// user go on with, every byte varies, and the expected record follows the read and store rules.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "FieldRules.h"
#include "RecordModel.h"

namespace {

const uint8_t kMac[6] = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x01};
const uint8_t kSender[4] = {198, 18, 1, 10};

template <size_t N>
std::string Text(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The server page's whole check on what it loads from the record.
ServerCheckOutcome CheckLoaded(const DeviceSettings& s) {
    const LoadedClock c = LoadClock(s.szDate, s.szTime);
    const std::string name = Text(s.szServerName), workgroup = Text(s.szWorkgroup);
    return CheckServerPage({name.c_str(), workgroup.c_str(), c.szMonth, c.szDay, c.szYear, c.szHour, c.szMinute});
}

}  // namespace

TEST(RecordModel, RandomRecordsPassThePagesChecksAndVaryInEveryByte) {
    std::mt19937 rng(11);
    std::vector<std::set<uint8_t>> seen(sizeof(DeviceSettings));
    for (int i = 0; i < 2000; ++i) {
        const DeviceSettings served = RandomRecord(rng, kMac);
        ASSERT_EQ(memcmp(served.abMac, kMac, 6), 0);
        const DeviceSettings read = ExpectedAfterRead(served, kSender);
        const ServerCheckOutcome o = CheckLoaded(read);
        ASSERT_EQ(o.bComplete, 1) << i << " " << Text(read.szServerName) << " " << Text(read.szDate) << " "
                                  << Text(read.szTime);
        ASSERT_EQ(o.message, ServerMessage::None);
        ASSERT_GE(strlen(read.szServerName), 1u);
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&served);
        for (size_t k = 0; k < sizeof served; ++k) seen[k].insert(p[k]);
    }
    // Every byte varies but the separators of the date and the time.
    const std::map<size_t, uint8_t> separators = {{72, '/'}, {75, '/'}, {83, ':'}, {86, ':'}};
    for (size_t k = 6; k < seen.size(); ++k) {
        auto it = separators.find(k);
        if (it != separators.end())
            EXPECT_EQ(seen[k], std::set<uint8_t>{it->second}) << "offset " << k;
        else
            EXPECT_GE(seen[k].size(), 2u) << "offset " << k << " never varies";
    }
    // Out-of-range zones come up as well as the 63 listed ones.
    std::mt19937 zones(5);
    int nOutside = 0, nInside = 0;
    for (int i = 0; i < 200; ++i) {
        const int32_t z = RandomRecord(zones, kMac).nTimeZone;
        (z >= 0 && z <= 62 ? nInside : nOutside)++;
    }
    EXPECT_GT(nOutside, 50);
    EXPECT_GT(nInside, 50);
}

TEST(RecordModel, RandomEditsAreValuesThePagesAccept) {
    std::mt19937 rng(3);
    DeviceSettings base = ExpectedAfterRead(RandomRecord(rng, kMac), kSender);
    for (int i = 0; i < 2000; ++i) {
        const RecordEdits e = RandomEdits(rng);
        const DeviceSettings s = ExpectedAfterEdits(base, e);
        const ServerCheckOutcome o = CheckLoaded(s);
        ASSERT_EQ(o.bComplete, 1) << i << " " << Text(s.szServerName) << " " << Text(s.szDate);
        EXPECT_LE(e.nDay, 28);
        EXPECT_LE(e.serverName.size(), 14u);
        EXPECT_LE(e.workgroup.size(), 15u);
        EXPECT_EQ(CheckServerNameChars(e.serverName.c_str()), 1);
        EXPECT_EQ(CheckNameChars(e.workgroup.c_str()), 1);
    }
}

TEST(RecordModel, ReadTerminatesTextsAndReplacesTheAddress) {
    DeviceSettings served;
    memset(&served, 'x', sizeof served);
    const uint8_t served_ip[4] = {10, 0, 0, 7};
    memcpy(served.abIpAddress, served_ip, 4);
    const DeviceSettings read = ExpectedAfterRead(served, kSender);
    EXPECT_EQ(read.szServerName[14], 0);
    EXPECT_EQ(read.szNote[48], 0);
    EXPECT_EQ(read.szDate[10], 0);
    EXPECT_EQ(read.szTime[8], 0);
    EXPECT_EQ(read.szWorkgroup[15], 0);
    EXPECT_EQ(read.szAuxName[32], 0);
    EXPECT_EQ(memcmp(read.abIpAddress, kSender, 4), 0);
    EXPECT_EQ(memcmp(read.abReportedAddress, served_ip, 4), 0);
    EXPECT_EQ(DifferingOffsets(served, read), "20 69 80 89 91 92 93 94 128 161 191 192 193 194");
}

TEST(RecordModel, StoresKeepWhatThePagesDoNotInterpret) {
    std::mt19937 rng(8);
    const DeviceSettings read = ExpectedAfterRead(RandomRecord(rng, kMac), kSender);
    RecordEdits e;
    e.bDhcpClient = true;
    DeviceSettings s = ExpectedAfterEdits(read, e);
    EXPECT_EQ(memcmp(s.abReserved104, read.abReserved104, sizeof s.abReserved104), 0);
    EXPECT_EQ(memcmp(s.szAuxName, read.szAuxName, sizeof s.szAuxName), 0);
    EXPECT_EQ(memcmp(s.abReserved166, read.abReserved166, sizeof s.abReserved166), 0);
    EXPECT_EQ(memcmp(s.abReportedAddress, read.abReportedAddress, 4), 0);
    EXPECT_EQ(memcmp(s.abReserved195, read.abReserved195, sizeof s.abReserved195), 0);
    EXPECT_EQ(memcmp(s.abIpAddress, read.abIpAddress, 12), 0) << "a DHCP client keeps the three groups";
    EXPECT_EQ(s.bFixedIp, 0);
    EXPECT_EQ(s.bDhcpServerOff, 1);
    for (char c : s.szNote) EXPECT_EQ(c, 0);
    EXPECT_EQ(s.szTime[6], '0');
    EXPECT_EQ(s.szTime[7], '0');
    EXPECT_EQ(memcmp(s.szTime, read.szTime, 6), 0);
    EXPECT_EQ(memcmp(s.szDate, read.szDate, 11), 0);
}

TEST(RecordModel, EditedFieldsAreStoredAsThePagesStoreThem) {
    std::mt19937 rng(9);
    DeviceSettings read = ExpectedAfterRead(RandomRecord(rng, kMac), kSender);
    read.nTimeZone = 63;
    RecordEdits e;
    const uint8_t ip[4] = {0, 255, 7, 1};
    memcpy(e.abIpAddress, ip, 4);
    e.bNewAddress = true;
    memset(e.abGateway, 9, 4);  // not flagged: the loaded gateway stays
    e.bNewName = true;
    e.serverName = "NAS-7";
    e.bNewWorkgroup = true;
    e.workgroup = "  two words ";
    e.bNewDate = true;
    e.nMonth = 2;
    e.nDay = 9;
    e.nYear = 1999;
    e.bNewTime = true;
    e.nHour = 0;
    e.nMinute = 5;
    DeviceSettings s = ExpectedAfterEdits(read, e);
    EXPECT_EQ(memcmp(s.abIpAddress, ip, 4), 0);
    EXPECT_EQ(memcmp(s.abGateway, read.abGateway, 4), 0);
    EXPECT_EQ(memcmp(s.abSubnetMask, read.abSubnetMask, 4), 0);
    EXPECT_EQ(s.bFixedIp, 1);
    EXPECT_EQ(memcmp(s.szServerName, "NAS-7\0\0\0\0\0\0\0\0\0\0", 15), 0);
    EXPECT_EQ(memcmp(s.szWorkgroup, "two words\0\0\0\0\0\0\0", 16), 0);
    EXPECT_STREQ(s.szDate, "02/09/1999");
    EXPECT_STREQ(s.szTime, "00:05:00");
    EXPECT_EQ(int32_t{s.nTimeZone}, 4) << "an index outside the table is stored as 4";
    read.nTimeZone = -1;
    EXPECT_EQ(int32_t{ExpectedAfterEdits(read, e).nTimeZone}, 4);
    read.nTimeZone = 62;
    EXPECT_EQ(int32_t{ExpectedAfterEdits(read, e).nTimeZone}, 62);
    e.bNewZone = true;
    e.nTimeZone = 0;
    EXPECT_EQ(int32_t{ExpectedAfterEdits(read, e).nTimeZone}, 0);
}

TEST(RecordModel, HexAndDifferences) {
    DeviceSettings a{}, b{};
    a.abMac[0] = 0xAB;
    const std::string hex = RecordHex(a);
    ASSERT_EQ(hex.size(), 468u);
    EXPECT_EQ(hex.substr(0, 4), "ab00");
    EXPECT_EQ(hex.find_first_not_of('0', 2), std::string::npos);
    EXPECT_EQ(DifferingOffsets(a, a), "none");
    b.abReserved195[38] = 1;
    EXPECT_EQ(DifferingOffsets(a, b), "0 233");
}
