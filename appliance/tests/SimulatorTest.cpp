// The simulator's core on a virtual clock: who answers, what is stored, eject modes, fault modes, notices.
#include "ConfigPacket.h"
#include "Simulator.h"
#include "TestSupport.h"
#include "TextFormat.h"
#include "UsbPacket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        Appliance nas1 = MakeAppliance("NAS1", A1);
        ASSERT_TRUE(ApplySetting(nas1, "password", "secret", &error));
        ASSERT_TRUE(ApplySetting(nas1, "disk", "\\\\NAS1\\usb", &error));
        ASSERT_TRUE(sim.AddAppliance(nas1, &error)) << error;
        ASSERT_TRUE(sim.AddAppliance(MakeAppliance("NAS2", A2), &error)) << error;
        ASSERT_TRUE(sim.AddAppliance(MakeAppliance("NAS3", A3), &error)) << error;
        sim.SetHostAddresses({A1, A2, A3, SPARE});
    }

    std::vector<Datagram> Exchange(const Datagram& in) {
        sim.OnDatagram(now, in);
        return sim.TakeDue(now);
    }

    Appliance& Nas(int n) { return *sim.Find("NAS" + std::to_string(n)); }

    CCaptureLog log;
    CSimulator sim{&log, 7};
    int64_t now = 1000;
};

TEST_F(SimulatorTest, BroadcastInfoIsAnsweredByEveryApplianceFromItsOwnAddress) {
    std::vector<Datagram> out = Exchange(ToConfig(BROADCAST_ADDRESS, GetInfoRequest(4321)));
    ASSERT_EQ(out.size(), 3u);
    std::vector<uint32_t> sources;
    for (const Datagram& d : out) {
        sources.push_back(d.localAddress);
        EXPECT_EQ(d.localPort, 915);
        EXPECT_EQ(d.peerAddress, PC);
        EXPECT_EQ(d.peerPort, PC_PORT);
        ASSERT_EQ(d.bytes.size(), 8u + 254u);
        EXPECT_EQ(U16At(d.bytes, 0), 16);
        EXPECT_EQ(U16At(d.bytes, 2), 0);
        EXPECT_EQ(U16At(d.bytes, 4), 4321);
        EXPECT_EQ(U16At(d.bytes, 6), 254);
        const Appliance& a = *sim.Find(FormatAddress(d.localAddress));
        EXPECT_EQ(0, memcmp(d.bytes.data() + 8 + 20, a.record.data(), 234));
        EXPECT_EQ(d.bytes[8 + 2], a.password.empty() ? 0 : 1);
    }
    EXPECT_EQ(sources, (std::vector<uint32_t>{A1, A2, A3}));
    EXPECT_EQ(log.Records("rx").size(), 1u);
    EXPECT_EQ(log.Records("tx").size(), 3u);
}

TEST_F(SimulatorTest, UnicastAndDirectedBroadcastReachOnlyTheirAppliances) {
    std::vector<Datagram> out = Exchange(ToConfig(A2, GetInfoRequest(1)));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].localAddress, A2);
    EXPECT_EQ(Exchange(ToConfig(0xC61201FF, GetInfoRequest(2))).size(), 3u);  // 198.18.1.255
    EXPECT_EQ(Exchange(ToConfig(0xC61202FF, GetInfoRequest(3))).size(), 0u);  // another subnet
    EXPECT_EQ(Exchange(ToConfig(SPARE, GetInfoRequest(4))).size(), 0u);       // the host's, no appliance's
}

TEST_F(SimulatorTest, WrittenRecordIsStoredAndServedByteForByte) {
    std::vector<Datagram> first = Exchange(ToConfig(A2, GetInfoRequest(10)));
    ASSERT_EQ(first.size(), 1u);
    Bytes record(first[0].bytes.begin() + 28, first[0].bytes.end());
    // What a wizard does: change a few named fields, send the rest back as received.
    memcpy(record.data() + 6, "RENAMED\0", 8);
    record[90] = 0;
    record[162] = 40;
    std::vector<Datagram> reply = Exchange(ToConfig(BROADCAST_ADDRESS, SetConfigRequest(11, record.data())));
    ASSERT_EQ(reply.size(), 1u);  // only the appliance with the MAC answers a broadcast write
    EXPECT_EQ(reply[0].localAddress, A2);
    EXPECT_EQ(reply[0].bytes, Header(17, 0, 11, 0));
    EXPECT_EQ(0, memcmp(Nas(2).record.data(), record.data(), 234));
    std::vector<Datagram> again = Exchange(ToConfig(A2, GetInfoRequest(12)));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(Bytes(again[0].bytes.begin() + 28, again[0].bytes.end()), record);
    for (size_t i = 0; i < 234; ++i) {
        if (IsUninterpretedSettingsByte(i)) EXPECT_EQ(record[i], UninterpretedFill(i)) << i;
    }
}

TEST_F(SimulatorTest, WriteWithForeignMacIsIgnored) {
    SettingsRecord before = Nas(1).record;
    SettingsRecord other = Nas(2).record;
    EXPECT_TRUE(Exchange(ToConfig(A1, SetConfigRequest(5, other.data()))).empty());
    EXPECT_EQ(Nas(1).record, before);
    EXPECT_EQ(Nas(2).counters.setConfig, 0);  // a unicast to NAS1 does not reach NAS2
    ASSERT_FALSE(log.Records("event").empty());
    EXPECT_NE(log.Records("event").back().note.find("foreign MAC"), std::string::npos);
}

TEST_F(SimulatorTest, ChosenResultCodeRefusesTheWrite) {
    Nas(3).setConfigResult = -101;
    SettingsRecord before = Nas(3).record;
    SettingsRecord changed = before;
    changed[6] = 'Z';
    std::vector<Datagram> out = Exchange(ToConfig(A3, SetConfigRequest(77, changed.data())));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes, Header(17, 0xFF9B, 77, 0));
    EXPECT_EQ(Nas(3).record, before);
}

TEST_F(SimulatorTest, AddressChangeKeepOrMove) {
    SettingsRecord r = Nas(2).record;
    SetAddressField(r, Settings::abIpAddress, SPARE);
    ASSERT_EQ(Exchange(ToConfig(A2, SetConfigRequest(1, r.data()))).size(), 1u);
    EXPECT_EQ(Nas(2).address, A2);  // keep
    Nas(2).addressChange = AddressChange::Move;
    std::vector<uint32_t> asked;
    sim.SetAddressHook([&](uint32_t a) {
        asked.push_back(a);
        return true;
    });
    std::vector<Datagram> reply = Exchange(ToConfig(A2, SetConfigRequest(2, r.data())));
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_EQ(reply[0].localAddress, A2);  // the reply still comes from the old address
    EXPECT_EQ(Nas(2).address, SPARE);
    EXPECT_EQ(asked, std::vector<uint32_t>{SPARE});
    EXPECT_TRUE(Exchange(ToConfig(A2, GetInfoRequest(3))).empty());
    std::vector<Datagram> moved = Exchange(ToConfig(SPARE, GetInfoRequest(4)));
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].localAddress, SPARE);
}

TEST_F(SimulatorTest, MoveIsRefusedOntoAnotherAppliancesAddressOrForDhcp) {
    Nas(2).addressChange = AddressChange::Move;
    SettingsRecord r = Nas(2).record;
    SetAddressField(r, Settings::abIpAddress, A3);
    Exchange(ToConfig(A2, SetConfigRequest(1, r.data())));
    EXPECT_EQ(Nas(2).address, A2);
    SetAddressField(r, Settings::abIpAddress, SPARE);
    r[Settings::bFixedIp] = 0;  // a DHCP client keeps the address it has
    Exchange(ToConfig(A2, SetConfigRequest(2, r.data())));
    EXPECT_EQ(Nas(2).address, A2);
    r[Settings::bFixedIp] = 1;
    sim.SetAddressHook([](uint32_t) { return false; });  // the host cannot take it
    Exchange(ToConfig(A2, SetConfigRequest(3, r.data())));
    EXPECT_EQ(Nas(2).address, A2);
}

TEST_F(SimulatorTest, PasswordRule) {
    const uint8_t* mac1 = Nas(1).record.data();
    std::vector<Datagram> right = Exchange(ToConfig(A1, PasswordRequest(8, mac1, "secret")));
    ASSERT_EQ(right.size(), 1u);
    EXPECT_EQ(right[0].bytes, Header(19, 0, 8, 0));
    std::vector<Datagram> wrong = Exchange(ToConfig(A1, PasswordRequest(9, mac1, "Secret")));
    ASSERT_EQ(wrong.size(), 1u);
    EXPECT_EQ(wrong[0].bytes, Header(19, uint16_t(-305), 9, 0));
    std::vector<Datagram> prefix = Exchange(ToConfig(A1, PasswordRequest(10, mac1, "secretX")));
    EXPECT_EQ(U16At(prefix.at(0).bytes, 2), uint16_t(-305));
    // An appliance without a password has nothing to check.
    std::vector<Datagram> none = Exchange(ToConfig(A2, PasswordRequest(11, Nas(2).record.data(), "any")));
    EXPECT_EQ(U16At(none.at(0).bytes, 2), 0);
    Nas(2).password = "abcdefghijklmn";
    std::vector<Datagram> longest =
        Exchange(ToConfig(BROADCAST_ADDRESS, PasswordRequest(12, Nas(2).record.data(), "abcdefghijklmn")));
    ASSERT_EQ(longest.size(), 1u);
    EXPECT_EQ(longest[0].localAddress, A2);
    EXPECT_EQ(U16At(longest[0].bytes, 2), 0);
}

TEST_F(SimulatorTest, DiscoveryRepliesWithTheDiskPathOrAnEmptyName) {
    std::vector<Datagram> out = Exchange(ToUsb(BROADCAST_ADDRESS, Header(32, 0, 0, 0)));
    ASSERT_EQ(out.size(), 3u);
    for (const Datagram& d : out) {
        ASSERT_EQ(d.bytes.size(), 264u);
        EXPECT_EQ(d.localPort, 917);
        EXPECT_EQ(d.peerPort, PC_PORT);
        EXPECT_EQ(U16At(d.bytes, 0), 32);
        EXPECT_EQ(U16At(d.bytes, 6), 256);
        EXPECT_EQ(TextAt(d.bytes, 8, 256), d.localAddress == A1 ? "\\\\NAS1\\usb" : "");
    }
}

TEST_F(SimulatorTest, NoticesOfOtherAppliancesAreNotAnswered) {
    // Two simulators on one segment hear each other's notices and replies; answering them would never end.
    Datagram notice = ToUsb(BROADCAST_ADDRESS, Bytes(264, 0));
    notice.bytes[0] = 32;
    notice.bytes[7] = 1;
    notice.peerPort = 917;
    EXPECT_TRUE(Exchange(notice).empty());
    Datagram own = ToUsb(BROADCAST_ADDRESS, Header(32, 0, 0, 0));
    own.peerAddress = A2;  // our own broadcast coming back
    EXPECT_TRUE(Exchange(own).empty());
    EXPECT_EQ(Nas(1).counters.discovery, 0);
}

TEST_F(SimulatorTest, EjectModes) {
    struct Case {
        EjectMode mode;
        uint16_t type;
        uint16_t status;
        bool diskGone;
    };
    for (Case c : {Case{EjectMode::InUse, 35, 0xFFFF, false}, Case{EjectMode::OtherType, 32, 0, false},
                   Case{EjectMode::Success, 33, 0, true}}) {
        Nas(1).disk = "\\\\NAS1\\usb";
        Nas(1).eject = c.mode;
        std::vector<Datagram> out = Exchange(ToUsb(BROADCAST_ADDRESS, EjectRequest("NAS1")));
        ASSERT_EQ(out.size(), 1u) << EjectModeName(c.mode);
        EXPECT_EQ(out[0].localAddress, A1);
        EXPECT_EQ(U16At(out[0].bytes, 0), c.type);
        EXPECT_EQ(U16At(out[0].bytes, 2), c.status);
        EXPECT_EQ(TextAt(out[0].bytes, 8, 256), "\\\\NAS1\\usb");
        EXPECT_EQ(Nas(1).disk.empty(), c.diskGone);
    }
    // After the disk is gone a second eject has nothing to do.
    std::vector<Datagram> again = Exchange(ToUsb(BROADCAST_ADDRESS, EjectRequest("NAS1")));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(U16At(again[0].bytes, 0), 35);
    EXPECT_EQ(TextAt(again[0].bytes, 8, 256), "");
    Nas(1).disk = "\\\\NAS1\\usb";
    Nas(1).eject = EjectMode::Silent;
    EXPECT_TRUE(Exchange(ToUsb(BROADCAST_ADDRESS, EjectRequest("NAS1"))).empty());
    EXPECT_EQ(Nas(1).disk, "\\\\NAS1\\usb");
    EXPECT_TRUE(Exchange(ToUsb(BROADCAST_ADDRESS, EjectRequest("NOBODY"))).empty());
    EXPECT_EQ(Nas(2).counters.eject + Nas(3).counters.eject, 0);
}

TEST_F(SimulatorTest, DropFaults) {
    Nas(1).faults.dropRequestsPercent = 100;
    EXPECT_TRUE(Exchange(ToConfig(A1, GetInfoRequest(1))).empty());
    EXPECT_EQ(Nas(1).counters.droppedRequests, 1);
    EXPECT_EQ(Nas(1).counters.getInfo, 0);
    Nas(1).faults = FaultModes();
    Nas(1).faults.dropRepliesPercent = 100;
    EXPECT_TRUE(Exchange(ToConfig(A1, GetInfoRequest(2))).empty());
    ASSERT_EQ(log.Records("drop").size(), 1u);
    EXPECT_EQ(U16At(log.Records("drop")[0].datagram.bytes, 4), 2);
    // A share: over many requests some go through and some do not, the same ones for the same seed.
    Nas(1).faults.dropRepliesPercent = 50;
    int sent = 0;
    for (uint16_t i = 0; i < 200; ++i) sent += static_cast<int>(Exchange(ToConfig(A1, GetInfoRequest(i + 100))).size());
    EXPECT_GT(sent, 60);
    EXPECT_LT(sent, 140);
    CCaptureLog log2;
    CSimulator twin(&log2, 7);
    std::string error;
    Appliance copy = MakeAppliance("NAS1", A1);
    copy.faults.dropRepliesPercent = 50;
    ASSERT_TRUE(twin.AddAppliance(copy, &error));
    int twinSent = 0;
    for (uint16_t i = 0; i < 200; ++i) {
        twin.OnDatagram(now, ToConfig(A1, GetInfoRequest(i + 100)));
        twinSent += static_cast<int>(twin.TakeDue(now).size());
    }
    EXPECT_EQ(twinSent, sent);
}

TEST_F(SimulatorTest, TwiceAndLate) {
    Nas(2).faults.twice = true;
    Nas(2).faults.lateMs = 9000;
    sim.OnDatagram(now, ToConfig(A2, GetInfoRequest(5)));
    EXPECT_EQ(sim.NextDue(), now + 9000);
    EXPECT_TRUE(sim.TakeDue(now + 8999).empty());
    std::vector<Datagram> out = sim.TakeDue(now + 9000);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].bytes, out[1].bytes);
    EXPECT_EQ(sim.NextDue(), -1);
}

TEST_F(SimulatorTest, SpreadHoldsEachReplyWithinItsWindowAfterLate) {
    Nas(2).faults.lateMs = 100;
    Nas(2).faults.spreadMs = 50;
    std::vector<int64_t> dues;
    for (uint16_t i = 0; i < 40; ++i) {
        sim.OnDatagram(now, ToConfig(A2, GetInfoRequest(i)));
        dues.push_back(sim.NextDue());
        ASSERT_EQ(sim.TakeDue(now + 150).size(), 1u);
    }
    EXPECT_GE(*std::min_element(dues.begin(), dues.end()), now + 100);
    EXPECT_LE(*std::max_element(dues.begin(), dues.end()), now + 150);
    EXPECT_NE(*std::min_element(dues.begin(), dues.end()), *std::max_element(dues.begin(), dues.end()));
}

TEST_F(SimulatorTest, PendingRepliesAreLoggedWhenDiscarded) {
    Nas(2).faults.lateMs = 5000;
    sim.OnDatagram(now, ToConfig(A2, GetInfoRequest(6)));
    sim.DiscardPending(now + 10);
    EXPECT_EQ(sim.NextDue(), -1);
    EXPECT_TRUE(sim.TakeDue(now + 5000).empty());
    ASSERT_EQ(log.Records("drop").size(), 1u);
    EXPECT_EQ(U16At(log.Records("drop")[0].datagram.bytes, 4), 6);
}

TEST_F(SimulatorTest, OutboxKeepsDueOrderAcrossAppliances) {
    Nas(1).faults.lateMs = 300;
    Nas(2).faults.lateMs = 100;
    Nas(3).faults.lateMs = 200;
    sim.OnDatagram(now, ToConfig(BROADCAST_ADDRESS, GetInfoRequest(5)));
    std::vector<uint32_t> order;
    for (int64_t t = now; t <= now + 300; t += 50) {
        for (const Datagram& d : sim.TakeDue(t)) order.push_back(d.localAddress);
    }
    EXPECT_EQ(order, (std::vector<uint32_t>{A2, A3, A1}));
}

TEST_F(SimulatorTest, HeaderFaults) {
    Nas(3).faults.staleSequence = true;
    Nas(3).faults.wrongType = true;
    std::vector<Datagram> out = Exchange(ToConfig(A3, GetInfoRequest(500)));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(U16At(out[0].bytes, 0), 17);
    EXPECT_EQ(U16At(out[0].bytes, 4), 499);
    Nas(3).faults = FaultModes();
    Nas(3).faults.state1 = true;
    out = Exchange(ToConfig(A3, GetInfoRequest(501)));
    EXPECT_EQ(U16At(out.at(0).bytes, 8), 1);
    EXPECT_EQ(Nas(3).state, 0);  // the fault shows in replies only
}

TEST_F(SimulatorTest, FromOtherAddress) {
    Nas(1).faults.fromOther = true;
    std::vector<Datagram> out = Exchange(ToConfig(A1, GetInfoRequest(1)));
    EXPECT_EQ(out.at(0).localAddress, A2);  // the host's first address that is not NAS1's
    Nas(1).faults.otherAddress = SPARE;
    out = Exchange(ToConfig(A1, GetInfoRequest(2)));
    EXPECT_EQ(out.at(0).localAddress, SPARE);
}

TEST_F(SimulatorTest, LengthFaults) {
    Nas(2).faults.shortLength = 6;
    std::vector<Datagram> out = Exchange(ToConfig(A2, GetInfoRequest(1)));
    EXPECT_EQ(out.at(0).bytes, Bytes({16, 0, 0, 0, 1, 0}));
    Nas(2).faults = FaultModes();
    Nas(2).faults.longLength = 1100;
    out = Exchange(ToConfig(A2, GetInfoRequest(2)));
    ASSERT_EQ(out.at(0).bytes.size(), 1100u);
    EXPECT_EQ(out[0].bytes[262], 0xEE);
    EXPECT_EQ(out[0].bytes[1099], 0xEE);
    EXPECT_EQ(out[0].bytes[261], Nas(2).record[233]);
    out = Exchange(ToUsb(A2, Header(32, 0, 0, 0)));
    EXPECT_EQ(out.at(0).bytes.size(), 1100u);
}

TEST_F(SimulatorTest, UnterminatedTextFields) {
    Nas(1).faults.unterminated = true;
    std::vector<Datagram> out = Exchange(ToConfig(A1, GetInfoRequest(1)));
    const Bytes& b = out.at(0).bytes;
    for (size_t i = 0; i < 15; ++i) EXPECT_NE(b[8 + 5 + i], 0) << i;
    for (const TextField& f : Settings::textFields) {
        for (size_t i = 0; i < f.width; ++i) ASSERT_NE(b[8 + 20 + f.offset + i], 0) << f.name << " " << i;
    }
    EXPECT_EQ(b[8 + 20 + 5], Nas(1).record[5]);  // the MAC before szServerName is untouched
    EXPECT_NE(Nas(1).record[6 + 14], 'a');       // the stored record keeps its terminators
    out = Exchange(ToUsb(A1, Header(32, 0, 0, 0)));
    EXPECT_EQ(TextAt(out.at(0).bytes, 8, 10), "\\\\NAS1\\usb");
    for (size_t i = 8; i < 264; ++i) ASSERT_NE(out[0].bytes[i], 0) << i;
}

TEST_F(SimulatorTest, NoticesGoToPort917OfTheTarget) {
    std::string error;
    ASSERT_TRUE(sim.SendNotice(now, Nas(1), PKT_WRONG_PORT, PC, "\\\\NAS1\\USB1", &error));
    ASSERT_TRUE(sim.SendNotice(now, Nas(2), PKT_REMOVED, BROADCAST_ADDRESS, "", &error));
    EXPECT_FALSE(sim.SendNotice(now, Nas(2), PKT_EJECT, PC, "x", &error));
    EXPECT_FALSE(sim.SendNotice(now, Nas(2), PKT_DISK_INFO, PC, std::string(256, 'x'), &error));
    std::vector<Datagram> out = sim.TakeDue(now);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].localAddress, A1);
    EXPECT_EQ(out[0].localPort, 917);
    EXPECT_EQ(out[0].peerAddress, PC);
    EXPECT_EQ(out[0].peerPort, 917);
    EXPECT_EQ(out[0].bytes, BuildUsbPacket(36, 0, "\\\\NAS1\\USB1"));
    EXPECT_EQ(out[1].peerAddress, BROADCAST_ADDRESS);
    EXPECT_EQ(U16At(out[1].bytes, 6), 256);  // a notice always has a nonzero wLength
}

TEST_F(SimulatorTest, MalformedRequestsAreLoggedWithTheReason) {
    EXPECT_TRUE(Exchange(ToConfig(A1, Bytes{16, 0, 1})).empty());
    EXPECT_TRUE(Exchange(ToConfig(A1, Header(17, 0, 1, 234))).empty());  // no payload
    EXPECT_TRUE(Exchange(ToUsb(A1, Bytes{0x23})).empty());
    std::vector<LogRecord> rx = log.Records("rx");
    ASSERT_EQ(rx.size(), 3u);
    for (const LogRecord& r : rx) EXPECT_EQ(r.note.rfind("ignored: ", 0), 0u) << r.note;
}

TEST(SimulatorSetup, RefusesDuplicateNamesAddressesAndMacs) {
    CCaptureLog log;
    CSimulator sim(&log, 1);
    std::string error;
    ASSERT_TRUE(sim.AddAppliance(MakeAppliance("A", A1), &error));
    EXPECT_FALSE(sim.AddAppliance(MakeAppliance("A", A2), &error));
    EXPECT_FALSE(sim.AddAppliance(MakeAppliance("B", A1), &error));
    Appliance sameMac = MakeAppliance("C", A2);
    memcpy(sameMac.record.data(), sim.Find("A")->record.data(), 6);
    EXPECT_FALSE(sim.AddAppliance(sameMac, &error));
    EXPECT_NE(error.find("MAC"), std::string::npos);
    EXPECT_FALSE(sim.AddAppliance(MakeAppliance("two words", A3), &error));
    EXPECT_FALSE(sim.AddAppliance(MakeAppliance("*", A3), &error));
}

TEST_F(SimulatorTest, DeterministicRequestDrops) {
    std::string error;
    ASSERT_TRUE(ParseFaultModes({"drop-first=2"}, &Nas(1).faults, &error));
    EXPECT_TRUE(Exchange(ToConfig(A1, GetInfoRequest(1))).empty());
    EXPECT_TRUE(Exchange(ToConfig(BROADCAST_ADDRESS, GetInfoRequest(1))).size() == 2u);  // NAS2, NAS3 only
    EXPECT_EQ(Exchange(ToConfig(A1, GetInfoRequest(1))).size(), 1u);                     // the third attempt
    EXPECT_EQ(Nas(1).faults.dropFirst, 0);
    EXPECT_EQ(Nas(1).counters.droppedRequests, 2);
    ASSERT_TRUE(ParseFaultModes({"ignore=unicast"}, &Nas(2).faults, &error));
    EXPECT_TRUE(Exchange(ToConfig(A2, GetInfoRequest(2))).empty());
    EXPECT_TRUE(Exchange(ToUsb(A2, Header(32, 0, 0, 0))).empty());
    std::vector<Datagram> out = Exchange(ToConfig(BROADCAST_ADDRESS, GetInfoRequest(3)));
    EXPECT_EQ(out.size(), 3u);
    ASSERT_TRUE(ParseFaultModes({"ignore=broadcast"}, &Nas(2).faults, &error));
    EXPECT_EQ(Exchange(ToConfig(BROADCAST_ADDRESS, GetInfoRequest(4))).size(), 2u);
    EXPECT_EQ(Exchange(ToConfig(A2, GetInfoRequest(5))).size(), 1u);
    ASSERT_TRUE(ParseFaultModes({"silent"}, &Nas(3).faults, &error));
    EXPECT_TRUE(Exchange(ToConfig(A3, GetInfoRequest(6))).empty());
    EXPECT_FALSE(ParseFaultModes({"ignore=sometimes"}, &Nas(3).faults, &error));
    EXPECT_EQ(FormatFaultModes(Nas(3).faults), "drop-requests=100");
}
