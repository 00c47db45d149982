// Discovery and eject schedules on a virtual clock: what is sent, bound where, when, and what is collected.
#include "../UsbOperations.h"
#include "ScriptedUsbSocket.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint32_t Addr(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    const uint8_t bytes[4] = {a, b, c, d};
    uint32_t address;
    std::memcpy(&address, bytes, 4);
    return address;
}

const uint32_t PC1 = Addr(198, 18, 1, 1);
const uint32_t PC2 = Addr(198, 18, 2, 1);
const uint32_t NAS1 = Addr(198, 18, 1, 10);
const uint32_t NAS1_SEG2 = Addr(198, 18, 2, 10);
const uint32_t HOSTILE = Addr(198, 18, 1, 66);

std::vector<uint8_t> Reply(uint16_t type, uint16_t status, const std::string& name, size_t size = USB_PACKET_SIZE) {
    UsbPacket p{};
    p.wType = type;
    p.wStatus = status;
    p.wLength = 256;
    std::strncpy(p.szName, name.c_str(), sizeof p.szName - 1);
    UsbPacketImage image = SerializeUsbPacket(p);
    return std::vector<uint8_t>(image.begin(), image.begin() + static_cast<long>(std::min(size, image.size())));
}

}  // namespace

TEST(Discovery, EachLocalAddressGetsItsOwnBoundRequestAndAnAnswerOnBothIsListedTwice) {
    CScriptedUsbSocket socket;
    socket.Script(0, {100, Reply(PKT_DISK_INFO, 0, "\\\\NAS1\\usb"), NAS1});
    socket.Script(1, {100, Reply(PKT_DISK_INFO, 0, "\\\\NAS1\\usb"), NAS1_SEG2});
    std::vector<std::string> names, addresses;
    std::vector<uint32_t> locals;

    EXPECT_TRUE(RunDiscovery(socket, {PC1, PC2}, names, addresses, &locals));

    EXPECT_EQ(socket.OpenedOn(), (std::vector<uint32_t>{PC1, PC2}));
    EXPECT_EQ(locals, (std::vector<uint32_t>{PC1, PC2}));  // what an eject of either must go out through
    ASSERT_EQ(socket.SentDatagrams().size(), 2u);
    for (const auto& sent : socket.SentDatagrams())
        EXPECT_EQ(sent.bytes, (std::vector<uint8_t>{0x20, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(socket.SentDatagrams()[0].localAddress, PC1);
    EXPECT_EQ(socket.SentDatagrams()[1].localAddress, PC2);
    EXPECT_EQ(names, (std::vector<std::string>{"\\\\NAS1\\usb", "\\\\NAS1\\usb"}));
    EXPECT_EQ(addresses, (std::vector<std::string>{"198.18.1.10", "198.18.2.10"}));
    EXPECT_EQ(socket.Closes(), 2);
    EXPECT_FALSE(socket.IsOpen());
    // Each address's collection ends 2 s after its last reply.
    EXPECT_EQ(socket.SentDatagrams()[1].atMs, 2100u);
    EXPECT_EQ(socket.NowMs(), 4200u);
}

TEST(Discovery, AHostThatNeverStopsSendingEndsTheCollectionAfterTheReplyCap) {
    CScriptedUsbSocket socket;
    // Replies every 10 ms, far more than the cap, on the first address; the second still gets its turn.
    for (size_t i = 0; i < MAX_DISCOVERY_REPLIES + 50; i++)
        socket.Script(0, {static_cast<uint32_t>(10 * (i + 1)),
                          Reply(PKT_DISK_INFO, 0, "\\\\F" + std::to_string(i) + "\\x"), NAS1});
    socket.Script(1, {100, Reply(PKT_DISK_INFO, 0, "\\\\NAS2\\usb"), NAS1_SEG2});
    std::vector<std::string> names, addresses;

    EXPECT_TRUE(RunDiscovery(socket, {PC1, PC2}, names, addresses));

    ASSERT_EQ(names.size(), MAX_DISCOVERY_REPLIES + 1);
    EXPECT_EQ(names[MAX_DISCOVERY_REPLIES - 1], "\\\\F" + std::to_string(MAX_DISCOVERY_REPLIES - 1) + "\\x");
    EXPECT_EQ(names.back(), "\\\\NAS2\\usb");
    EXPECT_EQ(addresses.back(), "198.18.2.10");
    EXPECT_EQ(socket.OpenedOn(), (std::vector<uint32_t>{PC1, PC2}));
    // The first collection ended at the cap's last reply, without waiting for a quiet 2 s.
    EXPECT_EQ(socket.SentDatagrams()[1].atMs, 10u * MAX_DISCOVERY_REPLIES);
    EXPECT_EQ(socket.Closes(), 2);
}

TEST(Discovery, EveryReplyRestartsTheTwoSecondWait) {
    CScriptedUsbSocket socket;
    socket.Script(0, {1500, Reply(PKT_DISK_INFO, 0, "\\\\A\\usb"), NAS1});
    socket.Script(0, {3400, Reply(PKT_DISK_INFO, 0, "\\\\B\\usb"), NAS1});
    socket.Script(0, {5500, Reply(PKT_DISK_INFO, 0, "\\\\C\\usb"), NAS1});  // 2.1 s after B: too late
    std::vector<std::string> names, addresses;

    EXPECT_TRUE(RunDiscovery(socket, {PC1}, names, addresses));

    EXPECT_EQ(names, (std::vector<std::string>{"\\\\A\\usb", "\\\\B\\usb"}));
    EXPECT_EQ(socket.NowMs(), 5400u);
    for (uint32_t w : socket.Waits()) EXPECT_EQ(w, DISCOVERY_QUIET_MS);
}

TEST(Discovery, RepliesAreNotFilteredAndShortOnesShowNoEarlierText) {
    CScriptedUsbSocket socket;
    socket.Script(0, {10, Reply(PKT_DISK_INFO, 0, "\\\\NAS1\\usb"), NAS1});
    socket.Script(0, {20, Reply(PKT_DISK_INFO, 0, "\\\\NAS2\\usb", 8), NAS1_SEG2});  // header only
    socket.Script(0, {30, Reply(PKT_DISK_INFO, 0, ""), NAS1});                       // no disk
    socket.Script(0, {40, Reply(PKT_EJECT, 7, "\\\\ODD\\x"), NAS1});                 // any type counts
    socket.Script(0, {50, {}, NAS1});                                                // empty datagram
    std::vector<std::string> names{"kept"}, addresses{"0.0.0.1"};

    EXPECT_TRUE(RunDiscovery(socket, {PC1}, names, addresses));

    EXPECT_EQ(names, (std::vector<std::string>{"kept", "\\\\NAS1\\usb", "", "", "\\\\ODD\\x", ""}));
    EXPECT_EQ(addresses, (std::vector<std::string>{"0.0.0.1", "198.18.1.10", "198.18.2.10", "198.18.1.10",
                                                   "198.18.1.10", "198.18.1.10"}));
}

TEST(Discovery, NoLocalAddressSendsNothing) {
    CScriptedUsbSocket socket;
    std::vector<std::string> names, addresses;
    EXPECT_TRUE(RunDiscovery(socket, {}, names, addresses));
    EXPECT_EQ(socket.Opens(), 0);
    EXPECT_TRUE(names.empty());
}

TEST(Discovery, AFailurePartWayEndsTheWholeDiscoveryKeepingWhatCame) {
    struct Case {
        const char* call;
        int nth;
        size_t sends;
        size_t listed;
    } cases[] = {
        {"Open", 2, 1, 1},           // second address's socket cannot be made
        {"SendBroadcast", 2, 1, 1},  // second request cannot be sent
        {"Receive", 2, 2, 1},        // second reply cannot be read
        {"WaitReadable", 2, 1, 1},   // select error on the first address after its reply
        {"Open", 1, 0, 0},
    };
    for (const Case& c : cases) {
        CScriptedUsbSocket socket;
        socket.Script(0, {10, Reply(PKT_DISK_INFO, 0, "\\\\NAS1\\usb"), NAS1});
        socket.Script(1, {10, Reply(PKT_DISK_INFO, 0, "\\\\NAS1\\usb"), NAS1_SEG2});
        socket.FailAt(c.call, c.nth);
        std::vector<std::string> names, addresses;

        EXPECT_FALSE(RunDiscovery(socket, {PC1, PC2, Addr(198, 18, 3, 1)}, names, addresses)) << c.call;

        EXPECT_EQ(socket.SentDatagrams().size(), c.sends) << c.call;
        EXPECT_EQ(names.size(), c.listed) << c.call;
        EXPECT_EQ(addresses.size(), c.listed) << c.call;
        EXPECT_FALSE(socket.IsOpen()) << c.call;
    }
}

TEST(EjectQuery, NoAnswerSendsExactlyThreeRequestsTwentySecondsApartThroughTheAppliancesInterface) {
    CScriptedUsbSocket socket;
    UsbPacket reply{};
    reply.wType = 0x5555;

    EXPECT_FALSE(RunEjectQuery(socket, "NAS1", PC2, NAS1_SEG2, reply));

    ASSERT_EQ(socket.SentDatagrams().size(), 3u);
    UsbPacketImage expected = BuildEjectRequest("NAS1");
    for (size_t i = 0; i < 3; i++) {
        const auto& sent = socket.SentDatagrams()[i];
        EXPECT_EQ(sent.atMs, i * 20000u);
        EXPECT_EQ(sent.socketIndex, static_cast<int>(i));  // a new socket per try
        EXPECT_EQ(sent.localAddress, PC2);
        EXPECT_EQ(sent.bytes, std::vector<uint8_t>(expected.begin(), expected.end()));
    }
    EXPECT_EQ(socket.NowMs(), 60000u);
    EXPECT_EQ(socket.Closes(), 3);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(reply.wType, 0x5555);  // untouched
}

TEST(EjectQuery, OnlyTheAppliancesAddressAnswersAndOthersDoNotShortenTheWait) {
    CScriptedUsbSocket socket;
    // Another host confirms at once on every try; the appliance answers late in the second, whatever its type.
    for (int i = 0; i < 3; i++) {
        socket.Script(i, {100, Reply(PKT_EJECTED, 0, "\\\\NAS1\\usb"), HOSTILE});
        socket.Script(i, {5000, Reply(PKT_EJECTED, 0, "\\\\NAS1\\usb"), HOSTILE});
    }
    socket.Script(1, {19000, Reply(PKT_WRONG_PORT, STATUS_IN_USE, "\\\\NAS1\\usb", 100), NAS1});
    socket.Script(1, {19500, Reply(PKT_EJECTED, 0, "\\\\NAS1\\usb"), NAS1});
    UsbPacket reply{};

    EXPECT_TRUE(RunEjectQuery(socket, "NAS1", PC1, NAS1, reply));

    ASSERT_EQ(socket.SentDatagrams().size(), 2u);
    EXPECT_EQ(socket.SentDatagrams()[1].atMs, 20000u);  // the first try waited its full 20 s
    EXPECT_EQ(socket.NowMs(), 39000u);
    EXPECT_EQ(socket.Waits(), (std::vector<uint32_t>{20000, 19900, 15000, 20000, 19900, 15000}));
    EXPECT_EQ(reply.wType, PKT_WRONG_PORT);
    EXPECT_EQ(reply.wStatus, STATUS_IN_USE);
    EXPECT_EQ(UsbPacketName(reply), "\\\\NAS1\\usb");
    EXPECT_FALSE(socket.IsOpen());

    // When only other hosts answer, the query ends as one without an answer.
    CScriptedUsbSocket spoofed;
    for (int i = 0; i < 3; i++) spoofed.Script(i, {100, Reply(PKT_EJECTED, 0, "\\\\NAS1\\usb"), HOSTILE});
    reply = UsbPacket{};
    EXPECT_FALSE(RunEjectQuery(spoofed, "NAS1", PC1, NAS1, reply));
    EXPECT_EQ(spoofed.SentDatagrams().size(), 3u);
    EXPECT_EQ(spoofed.NowMs(), 60000u);
    EXPECT_EQ(reply.wType, 0);
}

TEST(EjectQuery, AnEightByteReplyGivesAnEmptyName) {
    CScriptedUsbSocket socket;
    socket.Script(0, {5, Reply(PKT_EJECTED, 0, "\\\\NAS1\\usb", 8), NAS1});
    UsbPacket reply{};
    std::strcpy(reply.szName, "earlier");
    EXPECT_TRUE(RunEjectQuery(socket, "NAS1", PC1, NAS1, reply));
    EXPECT_EQ(reply.wType, PKT_EJECTED);
    EXPECT_EQ(UsbPacketName(reply), "");
}

TEST(EjectQuery, ASocketFailureEndsAtOnce) {
    struct Case {
        const char* call;
        int nth;
        size_t sends;
    } cases[] = {
        {"Open", 1, 0},         {"Open", 2, 1},         {"SendBroadcast", 1, 0},
        {"WaitReadable", 1, 1}, {"WaitReadable", 3, 3}, {"Receive", 1, 1},
    };
    for (const Case& c : cases) {
        // No appliance answers, so the failure is met on the try it is set for; a reply is scripted only
        // where the read itself is to fail.
        CScriptedUsbSocket socket;
        if (std::string(c.call) == "Receive") socket.Script(0, {10, Reply(PKT_EJECTED, 0, "x"), NAS1});
        socket.FailAt(c.call, c.nth);
        UsbPacket reply{};

        EXPECT_FALSE(RunEjectQuery(socket, "NAS1", PC1, NAS1, reply)) << c.call << " " << c.nth;

        EXPECT_EQ(socket.SentDatagrams().size(), c.sends) << c.call << " " << c.nth;
        EXPECT_FALSE(socket.IsOpen()) << c.call << " " << c.nth;
    }
}

TEST(Reachability, EchoPayloadIsTheThirtyTwoLettersFromA) {
    std::array<uint8_t, ECHO_DATA_SIZE> payload = EchoPayload();
    EXPECT_EQ(payload.front(), 0x41);
    EXPECT_EQ(payload.back(), 0x60);
    for (size_t i = 1; i < payload.size(); i++) EXPECT_EQ(payload[i], payload[i - 1] + 1);
}
