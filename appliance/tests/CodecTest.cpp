// The simulator's codec: request acceptance, reply and record layouts, text forms.
#include "ConfigPacket.h"
#include "TestSupport.h"
#include "TextFormat.h"
#include "UsbPacket.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Hex, RoundTripAndRejects) {
    const uint8_t data[3] = {0x00, 0xab, 0x7f};
    EXPECT_EQ(ToHex(data, 3), "00ab7f");
    std::string bytes;
    ASSERT_TRUE(FromHex("00AB7f", &bytes));
    EXPECT_EQ(bytes, std::string("\x00\xab\x7f", 3));
    EXPECT_FALSE(FromHex("abc", &bytes));
    EXPECT_FALSE(FromHex("zz", &bytes));
}

TEST(TextFormat, Addresses) {
    uint32_t a = 0;
    ASSERT_TRUE(ParseAddress("198.18.1.10", &a));
    EXPECT_EQ(a, A1);
    EXPECT_EQ(FormatAddress(a), "198.18.1.10");
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.4 ", "1234.1.1.1", "a.b.c.d"})
        EXPECT_FALSE(ParseAddress(bad, &a)) << bad;
}

TEST(TextFormat, MacAddresses) {
    uint8_t mac[6];
    ASSERT_TRUE(ParseMac("02:5A:00:ff:10:01", mac));
    EXPECT_EQ(FormatMac(mac), "02:5a:00:ff:10:01");
    ASSERT_TRUE(ParseMac("02-5a-00-ff-10-02", mac));
    EXPECT_EQ(mac[5], 2);
    EXPECT_FALSE(ParseMac("02:5a:00:ff:10", mac));
    EXPECT_FALSE(ParseMac("02:5a:00:ff:10:0g", mac));
    EXPECT_FALSE(ParseMac("02:5a:00:ff:10;01", mac));
}

TEST(TextFormat, JsonStringEscapesEverythingOutsidePrintableAscii) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString(std::string("\x01\xff\n", 3)), "\"\\u0001\\u00ff\\u000a\"");
}

TEST(ConfigRequest, GetInfoIsTheBareHeader) {
    ConfigRequest req;
    std::string why;
    Bytes b = GetInfoRequest(0x1234);
    ASSERT_TRUE(ParseConfigRequest(b.data(), b.size(), &req, &why)) << why;
    EXPECT_EQ(req.header.wType, 16);
    EXPECT_EQ(req.header.wSequence, 0x1234);
}

TEST(ConfigRequest, RefusesWhatIsNotARequest) {
    ConfigRequest req;
    std::string why;
    Bytes shortOne = {16, 0, 0, 0, 1, 0, 0};
    EXPECT_FALSE(ParseConfigRequest(shortOne.data(), shortOne.size(), &req, &why));
    Bytes reply = Header(16, 0xFF9B, 5, 0);  // a reply of another appliance carries a status
    EXPECT_FALSE(ParseConfigRequest(reply.data(), reply.size(), &req, &why));
    Bytes infoReply = Header(16, 0, 5, 254);  // an info reply with status 0 is not a request either
    infoReply.resize(8 + 254);
    EXPECT_FALSE(ParseConfigRequest(infoReply.data(), infoReply.size(), &req, &why));
    Bytes unknown = Header(18, 0, 5, 21);
    unknown.resize(8 + 21);
    EXPECT_FALSE(ParseConfigRequest(unknown.data(), unknown.size(), &req, &why));
    EXPECT_NE(why.find("18"), std::string::npos);
    Bytes truncated = Header(17, 0, 5, 234);
    truncated.resize(8 + 233);
    EXPECT_FALSE(ParseConfigRequest(truncated.data(), truncated.size(), &req, &why));
}

TEST(ConfigRequest, SetConfigCarriesTheRecordAndItsMac) {
    uint8_t record[234];
    for (int i = 0; i < 234; ++i) record[i] = uint8_t(i * 7 + 1);
    Bytes b = SetConfigRequest(9, record);
    b.push_back(0x55);  // trailing bytes beyond wLength do no harm
    ConfigRequest req;
    std::string why;
    ASSERT_TRUE(ParseConfigRequest(b.data(), b.size(), &req, &why)) << why;
    EXPECT_EQ(0, memcmp(req.settings.data(), record, 234));
    EXPECT_EQ(0, memcmp(req.mac, record, 6));
}

TEST(ConfigRequest, PasswordFieldIsBoundedByItsFifteenBytes) {
    const uint8_t mac[6] = {2, 0x5a, 0, 0, 0, 1};
    ConfigRequest req;
    std::string why;
    Bytes fourteen = PasswordRequest(3, mac, "abcdefghijklmn");
    ASSERT_TRUE(ParseConfigRequest(fourteen.data(), fourteen.size(), &req, &why));
    EXPECT_EQ(req.password, "abcdefghijklmn");
    EXPECT_TRUE(req.passwordTerminated);
    Bytes fifteen = PasswordRequest(3, mac, "abcdefghijklmno");
    fifteen.push_back('p');  // a byte after the field must not join the password
    ASSERT_TRUE(ParseConfigRequest(fifteen.data(), fifteen.size(), &req, &why));
    EXPECT_EQ(req.password, "abcdefghijklmno");
    EXPECT_FALSE(req.passwordTerminated);
}

TEST(DeviceInfo, LayoutOfTheInfoPayload) {
    DeviceInfoFields f;
    f.wState = 0x0201;
    f.bPasswordSet = 1;
    f.infoText = "a very long info text";  // longer than the field: cut to 14 and terminated
    for (size_t i = 0; i < f.settings.size(); ++i) f.settings[i] = uint8_t(i);
    Bytes info = BuildDeviceInfo(f);
    ASSERT_EQ(info.size(), 254u);
    EXPECT_EQ(info[0], 0x01);
    EXPECT_EQ(info[1], 0x02);
    EXPECT_EQ(info[2], 1);
    EXPECT_NE(info[3], 0);
    EXPECT_NE(info[4], 0);
    EXPECT_EQ(TextAt(info, 5, 15), "a very long in");
    EXPECT_EQ(info[19], 0);
    for (size_t i = 0; i < 234; ++i) ASSERT_EQ(info[20 + i], uint8_t(i)) << i;
}

TEST(DeviceSettings, FieldOffsetsAndHelpers) {
    SettingsRecord r{};
    SetText(r, Settings::szServerName, "ABCDEFGHIJKLMNOPQ");  // 17 characters into a 15-byte field
    EXPECT_EQ(GetText(r, Settings::szServerName), "ABCDEFGHIJKLMN");
    EXPECT_EQ(r[6 + 14], 0);
    EXPECT_EQ(r[21], 0);  // szNote untouched
    SetAddressField(r, Settings::abIpAddress, A1);
    EXPECT_EQ(r[91], 198);
    EXPECT_EQ(r[94], 10);
    EXPECT_EQ(GetAddressField(r, 91), A1);
    SetTimeZone(r, -3);
    EXPECT_EQ(r[162], 0xfd);
    EXPECT_EQ(r[165], 0xff);
    EXPECT_EQ(GetTimeZone(r), -3);
}

TEST(DeviceSettings, UninterpretedBytesAreExactlyTheUnnamedRanges) {
    int count = 0;
    for (size_t i = 0; i < DEVICE_SETTINGS_SIZE; ++i) {
        if (IsUninterpretedSettingsByte(i)) {
            ++count;
            EXPECT_NE(UninterpretedFill(i), 0) << i;
        }
    }
    EXPECT_EQ(count, 9 + 25 + 39);
    EXPECT_FALSE(IsUninterpretedSettingsByte(103));
    EXPECT_TRUE(IsUninterpretedSettingsByte(104));
    EXPECT_FALSE(IsUninterpretedSettingsByte(113));
    EXPECT_TRUE(IsUninterpretedSettingsByte(190));
    EXPECT_FALSE(IsUninterpretedSettingsByte(191));
    EXPECT_TRUE(IsUninterpretedSettingsByte(233));
}

TEST(ConfigDecode, SignedStatusAndTruncatedPayloads) {
    Bytes reply = Header(17, 0xFF9B, 44, 0);
    std::string json = DescribeConfigPacket(reply.data(), reply.size());
    EXPECT_NE(json.find("\"wStatus\":-101"), std::string::npos) << json;
    Bytes info = Header(16, 0, 44, 254);
    info.resize(8 + 30, 'x');  // cut inside the settings
    json = DescribeConfigPacket(info.data(), info.size());
    EXPECT_NE(json.find("\"settings\":{\"truncated\":10}"), std::string::npos) << json;
    Bytes four = {1, 2, 3, 4};
    EXPECT_EQ(DescribeConfigPacket(four.data(), four.size()), "{\"truncated\":4}");
}

TEST(UsbRequest, DiscoveryIsExactlyTheBareType32Header) {
    UsbRequest req;
    std::string why;
    Bytes discovery = {0x20, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(ParseUsbRequest(discovery.data(), discovery.size(), &req, &why));
    EXPECT_EQ(req.wType, PKT_DISK_INFO);
    Bytes notice = BuildUsbPacket(PKT_DISK_INFO, 0, "\\\\NAS9\\usb");  // another appliance's notice
    EXPECT_FALSE(ParseUsbRequest(notice.data(), notice.size(), &req, &why));
    Bytes inUse = BuildUsbPacket(PKT_EJECT, STATUS_IN_USE, "x");
    EXPECT_FALSE(ParseUsbRequest(inUse.data(), inUse.size(), &req, &why));
    Bytes removed = BuildUsbPacket(PKT_REMOVED, 0, "x");
    EXPECT_FALSE(ParseUsbRequest(removed.data(), removed.size(), &req, &why));
}

TEST(UsbRequest, EjectNeedsItsWholeNameField) {
    UsbRequest req;
    std::string why;
    Bytes eject = EjectRequest("NAS1");
    ASSERT_TRUE(ParseUsbRequest(eject.data(), eject.size(), &req, &why)) << why;
    EXPECT_EQ(req.serverName, "NAS1");
    eject.resize(200);
    EXPECT_FALSE(ParseUsbRequest(eject.data(), eject.size(), &req, &why));
    Bytes open = EjectRequest(std::string(256, 'N'));  // no NUL: the name ends with the field
    ASSERT_TRUE(ParseUsbRequest(open.data(), open.size(), &req, &why));
    EXPECT_EQ(req.serverName.size(), 256u);
}

TEST(UsbPacketLayout, RepliesAre264BytesWithLength256) {
    Bytes p = BuildUsbPacket(PKT_EJECTED, STATUS_IN_USE, std::string(300, 'p'));
    ASSERT_EQ(p.size(), 264u);
    EXPECT_EQ(U16At(p, 0), 33);
    EXPECT_EQ(U16At(p, 2), 0xFFFF);
    EXPECT_EQ(U16At(p, 4), 0);
    EXPECT_EQ(U16At(p, 6), 256);
    EXPECT_EQ(p[8 + 254], 'p');
    EXPECT_EQ(p[8 + 255], 0);  // always terminated
    std::string json = DescribeUsbPacket(p.data(), 20);
    EXPECT_NE(json.find("\"szName\":\"pppppppppppp\""), std::string::npos) << json;
}

TEST(UsbPacketLayout, ServerPartOfPaths) {
    EXPECT_EQ(ServerPart("\\\\NAS1\\usb"), "NAS1");
    EXPECT_EQ(ServerPart("NAS1\\usb"), "NAS1");
    EXPECT_EQ(ServerPart("\\\\SRV"), "SRV");
    EXPECT_EQ(ServerPart("plain"), "plain");
    EXPECT_EQ(ServerPart(""), "");
}

TEST(TextFormat, NumbersAreDecimalOrHexNeverOctal) {
    long v = 0;
    ASSERT_TRUE(ParseInt("010", -100, 100, &v));
    EXPECT_EQ(v, 10);
    ASSERT_TRUE(ParseInt("-0x10", -100, 100, &v));
    EXPECT_EQ(v, -16);
    ASSERT_TRUE(ParseInt("0xFF9B", 0, 65535, &v));
    EXPECT_EQ(v, 0xFF9B);
    EXPECT_FALSE(ParseInt("101", -100, 100, &v));
    EXPECT_FALSE(ParseInt("12abc", -100, 100, &v));
    EXPECT_FALSE(ParseInt("", -100, 100, &v));
    EXPECT_FALSE(ParseInt("0x", -100, 100, &v));
}
