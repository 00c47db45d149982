// Control commands and configuration files.
#include "ControlInterpreter.h"
#include "SimConfig.h"
#include "TestSupport.h"
#include "TextFormat.h"
#include "UsbPacket.h"

#include <gtest/gtest.h>

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.AddAppliance(MakeAppliance("NAS1", A1), &error));
        ASSERT_TRUE(sim.AddAppliance(MakeAppliance("NAS2", A2), &error));
    }
    std::string Run(const std::string& line) { return control.Execute(0, line, &quit); }

    CCaptureLog log;
    CSimulator sim{&log, 1};
    CControlInterpreter control{sim};
    bool quit = false;
};

TEST_F(ControlTest, SetChangesOneOrAllOrNone) {
    EXPECT_EQ(Run("set NAS1 password fifteen letters"), "ERR a password has at most 14 characters");
    EXPECT_EQ(Run("set NAS1 info two words"), "OK 1 appliance(s)");
    EXPECT_EQ(sim.Find("NAS1")->infoText, "two words");
    EXPECT_EQ(Run("set * state 1"), "OK 2 appliance(s)");
    EXPECT_EQ(sim.Find("NAS2")->state, 1);
    EXPECT_EQ(Run("set NAS1 password "), "OK 1 appliance(s)");
    EXPECT_TRUE(sim.Find("NAS1")->password.empty());
    // A value that is wrong for one of them changes none of them.
    EXPECT_EQ(Run("set * server-name ABCDEFGHIJKLMN"), "OK 2 appliance(s)");
    EXPECT_EQ(Run("set * server-name ABCDEFGHIJKLMNO").rfind("ERR", 0), 0u);
    EXPECT_EQ(GetText(sim.Find("NAS2")->record, Settings::szServerName), "ABCDEFGHIJKLMN");
    EXPECT_EQ(Run("set NAS1 address 198.18.1.99").rfind("ERR", 0), 0u);
    EXPECT_EQ(Run("set NOBODY state 1"), "ERR no appliance 'NOBODY'");
    EXPECT_EQ(Run("set 198.18.1.11 state 7"), "OK 1 appliance(s)");  // by address
    EXPECT_EQ(sim.Find("NAS2")->state, 7);
}

TEST_F(ControlTest, LinesEndingInCarriageReturn) {
    EXPECT_EQ(Run("set NAS1 password secret\r"), "OK 1 appliance(s)");
    EXPECT_EQ(sim.Find("NAS1")->password, "secret");
    EXPECT_EQ(Run("set NAS1 password \r"), "OK 1 appliance(s)");
    EXPECT_EQ(sim.Find("NAS1")->password, "");
    EXPECT_EQ(Run("ping\r"), "OK pong");
    EXPECT_EQ(Run("set NAS1 info  two  spaces  "), "OK 1 appliance(s)");
    EXPECT_EQ(sim.Find("NAS1")->infoText, "two  spaces");
}

TEST_F(ControlTest, FaultResultAndEjectModes) {
    EXPECT_EQ(Run("fault NAS1 drop-replies=30 late=9000 twice"), "OK 1 appliance(s)");
    EXPECT_EQ(FormatFaultModes(sim.Find("NAS1")->faults), "drop-replies=30 twice late=9000");
    EXPECT_EQ(Run("fault NAS1 late=0").rfind("ERR", 0), 0u);
    EXPECT_EQ(Run("fault NAS1 spread=0").rfind("ERR", 0), 0u);
    EXPECT_EQ(Run("fault NAS1 sideways"), "ERR unknown fault mode 'sideways'");
    EXPECT_EQ(FormatFaultModes(sim.Find("NAS1")->faults), "drop-replies=30 twice late=9000");  // unchanged
    EXPECT_EQ(Run("fault * none"), "OK 2 appliance(s)");
    EXPECT_FALSE(sim.Find("NAS1")->faults.Any());
    EXPECT_EQ(Run("result NAS2 -101"), "OK 1 appliance(s)");
    EXPECT_EQ(sim.Find("NAS2")->setConfigResult, -101);
    EXPECT_EQ(Run("result NAS2 40000").rfind("ERR", 0), 0u);
    EXPECT_EQ(Run("eject * inuse"), "OK 2 appliance(s)");
    EXPECT_EQ(sim.Find("NAS1")->eject, EjectMode::InUse);
    EXPECT_EQ(Run("eject NAS1 maybe").rfind("ERR", 0), 0u);
}

TEST_F(ControlTest, RecordReadAndReplace) {
    std::string reply = Run("record NAS1");
    ASSERT_EQ(reply.rfind("OK ", 0), 0u);
    std::string bytes;
    ASSERT_TRUE(FromHex(reply.substr(3), &bytes));
    ASSERT_EQ(bytes.size(), 234u);
    EXPECT_EQ(0, memcmp(bytes.data(), sim.Find("NAS1")->record.data(), 234));
    std::string changed = reply.substr(3);
    changed.replace(12, 2, "51");  // szServerName's first letter: 'Q'
    EXPECT_EQ(Run("record NAS1 " + changed), "OK 1 appliance(s)");
    EXPECT_EQ(GetText(sim.Find("NAS1")->record, Settings::szServerName), "QAS1");
    EXPECT_EQ(Run("record NAS1 00ff").rfind("ERR", 0), 0u);
    EXPECT_EQ(Run("record * " + changed), "ERR record takes one appliance, not *");
}

TEST_F(ControlTest, PlugPullAndNotices) {
    EXPECT_EQ(Run("plug NAS1"), "OK \\\\NAS1\\usb");
    EXPECT_EQ(sim.Find("NAS1")->disk, "\\\\NAS1\\usb");
    EXPECT_EQ(Run("plug NAS2 \\\\NAS2\\stick announce=198.18.1.1"), "OK \\\\NAS2\\stick");
    EXPECT_EQ(Run("pull NAS1 announce"), "OK \\\\NAS1\\usb");
    EXPECT_TRUE(sim.Find("NAS1")->disk.empty());
    EXPECT_EQ(Run("pull NAS1"), "ERR NAS1 has no disk");
    EXPECT_EQ(Run("notice NAS2 wrongport 198.18.1.1"), "OK PKT_WRONG_PORT to 198.18.1.1");
    EXPECT_EQ(Run("notice NAS2 33 broadcast -"), "OK PKT_EJECTED to 255.255.255.255");
    EXPECT_EQ(Run("notice NAS2 35").rfind("ERR", 0), 0u);
    EXPECT_EQ(Run("notice NAS2 removed 198.18.1").rfind("ERR", 0), 0u);
    std::vector<Datagram> out = sim.TakeDue(0);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0].bytes, BuildUsbPacket(32, 0, "\\\\NAS2\\stick"));
    EXPECT_EQ(out[0].peerAddress, PC);
    EXPECT_EQ(out[1].bytes, BuildUsbPacket(34, 0, "\\\\NAS1\\usb"));
    EXPECT_EQ(out[1].peerAddress, BROADCAST_ADDRESS);
    EXPECT_EQ(out[2].bytes, BuildUsbPacket(36, 0, "\\\\NAS2\\stick"));
    EXPECT_EQ(out[3].bytes, BuildUsbPacket(33, 0, ""));
}

TEST_F(ControlTest, BurstQueuesEveryNoticeBeforeAnyLeaves) {
    EXPECT_EQ(Run("burst NAS1 3 available 198.18.1.1"), "OK 3 PKT_DISK_INFO to 198.18.1.1");
    std::vector<Datagram> out = sim.TakeDue(0);
    ASSERT_EQ(out.size(), 3u);
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].bytes, BuildUsbPacket(32, 0, "\\\\NAS1\\usb" + std::to_string(i + 1)));
        EXPECT_EQ(out[i].localAddress, A1);
        EXPECT_EQ(out[i].peerAddress, PC);
        EXPECT_EQ(out[i].peerPort, 917);
    }
    // One each from every appliance, with its disk's path.
    EXPECT_EQ(Run("burst * 1 removed"), "OK 2 PKT_REMOVED to 255.255.255.255");
    out = sim.TakeDue(0);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].bytes, BuildUsbPacket(34, 0, "\\\\NAS1\\usb"));
    EXPECT_EQ(out[1].bytes, BuildUsbPacket(34, 0, "\\\\NAS2\\usb"));
    EXPECT_EQ(Run("burst NAS1 0 available").rfind("ERR burst", 0), 0u);
    EXPECT_EQ(Run("burst NAS1 10001 available").rfind("ERR burst", 0), 0u);
    EXPECT_EQ(Run("burst NAS1 2 eject").rfind("ERR burst", 0), 0u);
    EXPECT_EQ(Run("burst NAS1 2 available 198.18.1").rfind("ERR", 0), 0u);
    EXPECT_EQ(Run("burst NAS1 2 available 198.18.1.1 more").rfind("ERR burst", 0), 0u);
    EXPECT_TRUE(sim.TakeDue(0).empty());
    EXPECT_EQ(sim.Find("NAS1")->counters.notices, 4);
}

TEST_F(ControlTest, ShowListMarkQuit) {
    EXPECT_EQ(Run("list"), "OK NAS1=198.18.1.10 NAS2=198.18.1.11");
    std::string show = Run("show NAS2");
    EXPECT_NE(show.find("\"mac\":\"02:5a:54:12:01:0b\""), std::string::npos) << show;
    EXPECT_NE(show.find("\"get-info\":0"), std::string::npos);
    EXPECT_EQ(Run("mark step two"), "OK");
    EXPECT_EQ(log.m_records.back().note, "mark step two");
    EXPECT_EQ(Run("frobnicate NAS1").rfind("ERR unknown command", 0), 0u);
    EXPECT_EQ(Run(""), "ERR empty command");
    EXPECT_FALSE(quit);
    EXPECT_EQ(Run("quit"), "OK bye");
    EXPECT_TRUE(quit);
}

// The pattern of which requests a drop-requests mode ignores, as a string of 1 (answered) and 0.
static std::string DropPattern(CSimulator& sim, int count) {
    std::string pattern;
    for (int i = 0; i < count; ++i) {
        sim.OnDatagram(0, ToConfig(A1, GetInfoRequest(static_cast<uint16_t>(i + 1))));
        pattern += sim.TakeDue(0).empty() ? '0' : '1';
    }
    return pattern;
}

TEST_F(ControlTest, SeedRestartsTheDropChoices) {
    ASSERT_EQ(Run("fault NAS1 drop-requests=50"), "OK 1 appliance(s)");
    ASSERT_EQ(Run("seed 42"), "OK");
    const std::string first = DropPattern(sim, 64);
    ASSERT_EQ(Run("seed 42"), "OK");
    EXPECT_EQ(DropPattern(sim, 64), first);
    ASSERT_EQ(Run("seed 43"), "OK");
    EXPECT_NE(DropPattern(sim, 64), first);
    EXPECT_NE(first.find('0'), std::string::npos);
    EXPECT_NE(first.find('1'), std::string::npos);
    bool logged = false;
    for (const LogRecord& r : log.Records("event")) logged = logged || r.note == "seed 43";
    EXPECT_TRUE(logged);
    EXPECT_EQ(Run("seed"), "ERR seed N (0..4294967295)");
    EXPECT_EQ(Run("seed -1"), "ERR seed N (0..4294967295)");
    EXPECT_EQ(Run("seed 4294967296"), "ERR seed N (0..4294967295)");
}

TEST(SimConfig, SectionsDefaultsAndAutoAppliances) {
    const char* text =
        "# two appliances\n"
        "[NAS1]\n"
        "address = 198.18.1.10\n"
        "password = secret\n"
        "disk = auto\n"
        "[*]\n"
        "workgroup = LAB\n"
        "disk = none\n"
        "[NAS2]\n"
        "address = 198.18.1.11\n"
        "server-name = FILES\n"
        "disk = auto\n";
    std::vector<ConfigSection> sections;
    std::string error;
    ASSERT_TRUE(ParseConfigText(text, &sections, &error)) << error;
    std::vector<Appliance> out;
    ASSERT_TRUE(BuildAppliances(sections, {A1, A3}, &out, &error, {{A3, 22}})) << error;
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].name, "NAS1");
    EXPECT_EQ(out[0].password, "secret");
    EXPECT_EQ(out[0].disk, "\\\\NAS1\\usb");                          // its own "auto" wins over the default "none"
    EXPECT_EQ(GetText(out[0].record, Settings::szWorkgroup), "LAB");  // defaults apply to sections before [*]
    EXPECT_EQ(out[1].disk, "\\\\FILES\\usb");
    EXPECT_EQ(out[2].name, "ZT001012");  // A3 is claimed by no section; A1 is NAS1's
    EXPECT_EQ(out[2].address, A3);
    EXPECT_TRUE(out[2].disk.empty());
    EXPECT_EQ(FormatMac(out[2].record.data()), "02:5a:54:12:01:0c");
    // Mask and gateway follow the host's subnet of the address; NAS1's (no prefix known) the /24 default.
    EXPECT_EQ(FormatAddress(GetAddressField(out[2].record, Settings::abSubnetMask)), "255.255.252.0");
    EXPECT_EQ(FormatAddress(GetAddressField(out[2].record, Settings::abGateway)), "198.18.0.1");
    EXPECT_EQ(FormatAddress(GetAddressField(out[0].record, Settings::abSubnetMask)), "255.255.255.0");
}

TEST(SimConfig, ErrorsNameTheLineOrSection) {
    std::vector<ConfigSection> sections;
    std::string error;
    EXPECT_FALSE(ParseConfigText("address = 1.2.3.4\n", &sections, &error));
    EXPECT_NE(error.find("line 1"), std::string::npos);
    EXPECT_FALSE(ParseConfigText("[A]\n\nno equals sign\n", &sections, &error));
    EXPECT_NE(error.find("line 3"), std::string::npos);
    EXPECT_FALSE(ParseConfigText("[A\n", &sections, &error));
    std::vector<Appliance> out;
    ASSERT_TRUE(ParseConfigText("[A]\nmac = 02:00:00:00:00:01\n", &sections, &error));
    EXPECT_FALSE(BuildAppliances(sections, {}, &out, &error));
    EXPECT_NE(error.find("no address"), std::string::npos);
    ASSERT_TRUE(ParseConfigText("[A]\naddress = 198.18.1.10\ntimezone = many\n", &sections, &error));
    EXPECT_FALSE(BuildAppliances(sections, {}, &out, &error));
    EXPECT_NE(error.find("[A] timezone"), std::string::npos);
}

TEST(SimConfig, RecordKeyReplacesTheWholeRecord) {
    std::string hex(468, '0');
    hex.replace(12, 4, "4142");  // szServerName "AB"
    std::vector<ConfigSection> sections;
    std::string error;
    ASSERT_TRUE(ParseConfigText("[A]\naddress = 198.18.1.10\nrecord = " + hex + "\n", &sections, &error));
    std::vector<Appliance> out;
    ASSERT_TRUE(BuildAppliances(sections, {}, &out, &error)) << error;
    EXPECT_EQ(GetText(out[0].record, Settings::szServerName), "AB");
    EXPECT_EQ(out[0].record[200], 0);  // not the recognisable filler any more
}
