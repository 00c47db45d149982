// The flooder's plan: repeatable from its seed, every size from 0 to 1500, each kind's datagrams as they
// are meant to be malformed, sequence numbers that no transaction under way can wait for, and targets and
// sources confined to the lab.
#include "../FloodPlan.h"
#include "../FloodTargets.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const uint32_t PC = 198u << 24 | 18u << 16 | 1u << 8 | 1u;

std::vector<FloodTarget> Targets() {
    return {{PC, 917}, {PC, 40001}, {PC, 40002}};
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace

TEST(FloodPlan, TheSameSeedGivesTheSameRunAndAnotherSeedAnother) {
    CFloodPlan a(7, 2), b(7, 2), c(8, 2);
    bool differs = false;
    for (int i = 0; i < 2000; i++) {
        FloodDatagram x = a.Next(Targets()), y = b.Next(Targets()), z = c.Next(Targets());
        ASSERT_EQ(x.bytes, y.bytes) << i;
        ASSERT_EQ(x.destination, y.destination);
        ASSERT_EQ(x.port, y.port);
        ASSERT_EQ(x.source, y.source);
        differs = differs || x.bytes != z.bytes;
    }
    EXPECT_TRUE(differs);
}

TEST(FloodPlan, EverySizeFromZeroTo1500IsSentAndEveryKindTurnsUp) {
    CFloodPlan plan(1, 0);
    std::set<size_t> sizes;
    for (int i = 0; i < 40000; i++) {
        FloodDatagram d = plan.Next(Targets());
        EXPECT_LE(d.bytes.size(), FLOOD_MAX_SIZE);
        sizes.insert(d.bytes.size());
        EXPECT_EQ(d.source, -1);  // no spoofed sources were given
    }
    for (size_t n = 0; n <= FLOOD_MAX_SIZE; n++) {
        EXPECT_EQ(sizes.count(n), 1u) << n;
    }
    for (size_t k = 0; k < static_cast<size_t>(FloodKind::KIND_COUNT); k++) {
        EXPECT_GT(plan.Count(static_cast<FloodKind>(k)), 500u) << FloodKindName(static_cast<FloodKind>(k));
    }
}

TEST(FloodPlan, EachKindIsMalformedTheWayItIsMeantToBe) {
    CFloodPlan plan(3, 2);
    plan.Overhear(std::vector<uint8_t>{16, 0, 0, 0, 40, 0, 0, 0}.data(), 8);
    std::set<std::string> names;
    int broadcasts = 0, spoofed = 0, total = 0;
    for (int i = 0; i < 20000; i++) {
        FloodDatagram d = plan.Next(Targets());
        total++;
        broadcasts += d.destination == 0xFFFFFFFFu;
        spoofed += d.source >= 0;
        EXPECT_GE(d.source, -1);
        EXPECT_LT(d.source, 2);
        const bool usbPort = d.port == 917;
        switch (d.kind) {
            case FloodKind::WRONG_LENGTH:
                ASSERT_GE(d.bytes.size(), 8u);
                EXPECT_NE(U16(d.bytes, 6), d.bytes.size() - 8);
                EXPECT_FALSE(usbPort);
                break;
            case FloodKind::UNTERMINATED:
                ASSERT_EQ(d.bytes.size(), 8u + 254u);
                EXPECT_EQ(U16(d.bytes, 0), 16);
                for (size_t j = 8; j < d.bytes.size(); j++) EXPECT_NE(d.bytes[j], 0) << j;
                break;
            case FloodKind::STALE_SEQUENCE: {
                const uint16_t seq = U16(d.bytes, 4);
                EXPECT_TRUE(seq == 0 || seq < 40 || seq >= FLOOD_FIRST_UNUSED_SEQUENCE) << seq;
                EXPECT_EQ(U16(d.bytes, 2), 0);
                EXPECT_EQ(U16(d.bytes, 6), d.bytes.size() - 8);  // well formed but for its number
                break;
            }
            case FloodKind::USB_NOTICE: {
                ASSERT_EQ(d.bytes.size(), 264u);
                EXPECT_TRUE(usbPort);
                const std::string name(reinterpret_cast<const char*>(d.bytes.data() + 8));
                EXPECT_TRUE(names.insert(name).second) << "a name came twice: " << name;
                break;
            }
            case FloodKind::USB_UNTERMINATED:
                ASSERT_EQ(d.bytes.size(), 264u);
                for (size_t j = 8; j < 264; j++) EXPECT_NE(d.bytes[j], 0) << j;
                break;
            case FloodKind::USB_SHORT:
                EXPECT_LT(d.bytes.size(), 264u);
                break;
            default:
                break;
        }
    }
    // About a quarter of everything goes by broadcast, two thirds from a spoofed source.
    EXPECT_GT(broadcasts, total / 5);
    EXPECT_LT(broadcasts, total * 3 / 10);
    EXPECT_GT(spoofed, total / 2);
    EXPECT_LT(spoofed, total * 3 / 4);
}

TEST(FloodPlan, StaleSequencesAvoidTheNewestOverheardAndTheCounterAhead) {
    CFloodPlan plan(5, 0);
    // Before anything is overheard: only 0 and numbers the counter never reaches.
    for (int i = 0; i < 1000; i++) {
        const uint16_t s = plan.StaleSequence();
        EXPECT_TRUE(s == 0 || s >= FLOOD_FIRST_UNUSED_SEQUENCE) << s;
    }
    EXPECT_FALSE(plan.Overhear(nullptr, 0));
    EXPECT_FALSE(plan.Overhear(std::vector<uint8_t>{16, 0, 0, 0, 9}.data(), 5));                 // short
    EXPECT_FALSE(plan.Overhear(std::vector<uint8_t>{16, 0, 0xFF, 0xFF, 9, 0, 0, 0}.data(), 8));  // a reply
    EXPECT_FALSE(plan.Overhear(std::vector<uint8_t>{32, 0, 0, 0, 9, 0, 0, 0}.data(), 8));        // not 915's
    EXPECT_EQ(plan.NewestOverheard(), 0);
    // On port 917 the tray's requests are its bare discovery header and its 264-byte eject.
    std::vector<uint8_t> usb(264, 0);
    usb[0] = 35;
    EXPECT_TRUE(CFloodPlan::IsUsbRequest(usb.data(), 264));
    EXPECT_FALSE(CFloodPlan::IsUsbRequest(usb.data(), 263));
    usb[0] = 32;
    EXPECT_TRUE(CFloodPlan::IsUsbRequest(usb.data(), 8));
    EXPECT_FALSE(CFloodPlan::IsUsbRequest(usb.data(), 264));
    usb[1] = 1;
    EXPECT_FALSE(CFloodPlan::IsUsbRequest(usb.data(), 8));
    EXPECT_FALSE(CFloodPlan::IsUsbRequest(nullptr, 8));
    ASSERT_TRUE(plan.Overhear(std::vector<uint8_t>{19, 0, 0, 0, 0x10, 0x27, 21, 0}.data(), 8));  // 10000
    EXPECT_EQ(plan.NewestOverheard(), 10000);
    std::set<uint16_t> seen;
    for (int i = 0; i < 5000; i++) {
        const uint16_t s = plan.StaleSequence();
        seen.insert(s);
        EXPECT_TRUE(s == 0 || (s >= 9950 && s < 10000) || s >= FLOOD_FIRST_UNUSED_SEQUENCE) << s;
    }
    EXPECT_TRUE(seen.count(9999));
    EXPECT_TRUE(seen.count(9950));
    // A newest of 3 leaves only 1 and 2 behind it.
    plan.Overhear(std::vector<uint8_t>{16, 0, 0, 0, 3, 0, 0, 0}.data(), 8);
    for (int i = 0; i < 1000; i++) {
        const uint16_t s = plan.StaleSequence();
        EXPECT_TRUE(s <= 2 || s >= FLOOD_FIRST_UNUSED_SEQUENCE) << s;
    }
}

TEST(FloodPlan, KnownNamesTurnUpInNoticesBesideNewOnes) {
    CFloodPlan plan(3, 2);
    const std::string path = "\\\\NAS1\\usb";
    plan.SetKnownNames({path, "NAS1"});
    std::set<std::string> names;
    int forgedRemovals = 0;
    for (int i = 0; i < 4000; i++) {
        FloodDatagram d = plan.Next(Targets());
        if (d.kind != FloodKind::USB_NOTICE) continue;
        const std::string name = reinterpret_cast<const char*>(d.bytes.data() + 8);
        names.insert(name);
        if (name != path) continue;
        // The real path is announced only from the flooder's own address; its removal is forged too.
        if (U16(d.bytes, 0) == 32) EXPECT_EQ(d.source, -1);
        if ((U16(d.bytes, 0) == 33 || U16(d.bytes, 0) == 34) && d.source >= 0) forgedRemovals++;
    }
    EXPECT_GT(forgedRemovals, 0);
    EXPECT_EQ(names.count(path), 1u);
    EXPECT_EQ(names.count("NAS1"), 1u);
    EXPECT_GT(names.size(), 10u);  // new names still come
}

TEST(FloodTargets, OnlyLabAddressesAndRealPortsAreTargets) {
    FloodTarget t{};
    ASSERT_TRUE(ParseTarget("198.18.1.1:917", t));
    EXPECT_EQ(t.address, PC);
    EXPECT_EQ(t.port, 917);
    ASSERT_TRUE(ParseTarget("198.19.255.254:65535", t));
    ASSERT_TRUE(ParseTarget("broadcast:40000", t));
    EXPECT_EQ(t.address, 0xFFFFFFFFu);
    for (const char* bad : {"192.168.1.1:917", "198.20.0.1:917", "10.0.0.1:917", "198.18.1.1:0", "198.18.1.1:65536",
                            "198.18.1.1", "198.18.1:917", "198.18.1.1.1:917", "198.18.1.256:917", "198.18.1.1:9x",
                            ":917", "198.18.01111.1:917", "255.255.255.255:917x", ""}) {
        EXPECT_FALSE(ParseTarget(bad, t)) << bad;
    }
    uint32_t a = 0;
    EXPECT_TRUE(ParseAddress("255.255.255.255", a));
    EXPECT_TRUE(IsLabAddress(a));
    EXPECT_FALSE(IsLabAddress(0));
    EXPECT_TRUE(IsLabAddress(198u << 24 | 19u << 16));
    EXPECT_FALSE(IsLabAddress(198u << 24 | 17u << 16 | 0xFFFF));
}

TEST(FloodTargets, AFileListsEachTargetOnceRejectsTheRestAndCanSayStop) {
    TargetList list = ParseTargetList(
        "# ports\n198.18.1.1:917\n 198.18.1.1:917\r\n\n198.18.1.1:40001\n"
        "8.8.8.8:53\nnonsense\n");
    ASSERT_EQ(list.targets.size(), 2u);
    EXPECT_EQ(FormatTarget(list.targets[0]), "198.18.1.1:917");
    EXPECT_EQ(FormatTarget(list.targets[1]), "198.18.1.1:40001");
    EXPECT_EQ(list.rejected, (std::vector<std::string>{"8.8.8.8:53", "nonsense"}));
    EXPECT_FALSE(list.stop);
    EXPECT_TRUE(ParseTargetList("198.18.1.1:917\nstop\n").stop);
    EXPECT_EQ(ParseTargetList("name=\\\\NAS1\\usb\nname=NAS1\nname=NAS1\nname=\n").names,
              (std::vector<std::string>{"\\\\NAS1\\usb", "NAS1"}));
    EXPECT_EQ(FormatTarget({0xFFFFFFFFu, 917}), "broadcast:917");
}
