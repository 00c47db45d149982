// The WinSock and ICMP shell of the USB-disk service under Wine, in a lab with two PC interfaces and
// usb_responder.py on a1 (segment 1, answers ICMP) and a2 (segment 2, ignores ICMP), both serving \\NAS1\usb.
#include "../UsbOperations.h"
#include "../UsbService.h"
#include "../WinsockUsbSocket.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string LabAddress(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? value : "";
}

// Sends one command to a host's responder and waits for its acknowledgement.
bool Control(const std::string& host, const std::string& command) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr(host.c_str());
    to.sin_port = htons(USB_SERVICE_PORT);
    std::string text = "ZTCTL " + command;
    sendto(s, text.c_str(), static_cast<int>(text.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval timeout{3, 0};
    bool ok = false;
    if (select(0, &readable, nullptr, nullptr, &timeout) == 1) {
        char buffer[16] = {};
        ok = recv(s, buffer, sizeof buffer - 1, 0) == 4 && std::string(buffer) == "ZTOK";
    }
    closesocket(s);
    return ok;
}

// The product's socket with every wait cut to a hundredth, for the 20-second eject schedule.
class CShortWaitSocket : public CWinsockUsbSocket {
public:
    WaitResult WaitReadable(uint32_t timeoutMs) override {
        m_waits.push_back(timeoutMs);
        return CWinsockUsbSocket::WaitReadable(timeoutMs / 100);
    }
    std::vector<uint32_t> m_waits;
};

// A PC socket on port 917 that sees the PC's own broadcasts, as the tray's listener does.
class CPortWatcher {
public:
    CPortWatcher() {
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(USB_SERVICE_PORT);
        m_bound = bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
    }
    ~CPortWatcher() { closesocket(m_socket); }
    bool Bound() const { return m_bound; }

    // Datagrams until none came for quietMs.
    std::vector<std::vector<uint8_t>> Drain(DWORD quietMs) {
        std::vector<std::vector<uint8_t>> out;
        for (;;) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_socket, &readable);
            timeval timeout{0, static_cast<long>(quietMs) * 1000};
            if (select(0, &readable, nullptr, nullptr, &timeout) != 1) return out;
            uint8_t buffer[USB_RECEIVE_SIZE];
            int got = recv(m_socket, reinterpret_cast<char*>(buffer), sizeof buffer, 0);
            if (got < 0) return out;
            out.emplace_back(buffer, buffer + got);
        }
    }

private:
    SOCKET m_socket;
    bool m_bound = false;
};

class LabTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pc1 = LabAddress("ZT_PC_ADDR1");
        m_pc2 = LabAddress("ZT_PC_ADDR2");
        m_a1 = LabAddress("ZT_HOST_A1");
        m_a2 = LabAddress("ZT_HOST_A2");
        ASSERT_FALSE(m_a1.empty() || m_a2.empty() || m_pc2.empty()) << "needs the two-segment lab";
        for (const std::string& host : {m_a1, m_a2}) {
            ASSERT_TRUE(Control(host, "reply full")) << host;
            ASSERT_TRUE(Control(host, "eject ok")) << host;
        }
    }
    std::string m_pc1, m_pc2, m_a1, m_a2;
};

}  // namespace

TEST_F(LabTest, LocalAddressesAreThePcInterfacesInOrder) {
    uint32_t addresses[MAX_LOCAL_ADDRESSES];
    int count = -1;
    GetLocalAddresses(addresses, count);
    std::vector<std::string> dotted;
    for (int i = 0; i < count; i++) dotted.push_back(FormatIPv4(addresses[i]));
    EXPECT_EQ(dotted, (std::vector<std::string>{m_pc1, m_pc2}));
}

TEST_F(LabTest, DiscoveryOverTwoInterfacesListsAnApplianceOnEach) {
    CPortWatcher watcher;
    std::vector<std::string> names{"earlier"}, addresses{"1.2.3.4"};
    DWORD start = GetTickCount();

    EXPECT_TRUE(DiscoverDisks(names, addresses));

    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(names, (std::vector<std::string>{"earlier", "\\\\NAS1\\usb", "\\\\NAS1\\usb"}));
    EXPECT_EQ(addresses, (std::vector<std::string>{"1.2.3.4", m_a1, m_a2}));
    EXPECT_GE(elapsed, 3900u);  // two seconds of quiet per local address
    // Both requests reached the PC's own port 917 as 8 bytes with a zero length.
    ASSERT_TRUE(watcher.Bound());
    auto seen = watcher.Drain(200);
    ASSERT_EQ(seen.size(), 2u);
    for (auto& d : seen) {
        EXPECT_EQ(d, (std::vector<uint8_t>{0x20, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(ParseUsbPacket(d.data(), d.size()).wLength, 0);
    }
}

TEST_F(LabTest, ShortAndEmptyDiscoveryRepliesGiveEmptyNames) {
    ASSERT_TRUE(Control(m_a2, "reply short"));
    std::vector<std::string> names, addresses;
    EXPECT_TRUE(DiscoverDisks(names, addresses));
    EXPECT_EQ(names, (std::vector<std::string>{"\\\\NAS1\\usb", ""}));
    EXPECT_EQ(addresses, (std::vector<std::string>{m_a1, m_a2}));

    ASSERT_TRUE(Control(m_a1, "reply empty"));
    ASSERT_TRUE(Control(m_a2, "reply silent"));
    names.clear();
    addresses.clear();
    EXPECT_TRUE(DiscoverDisks(names, addresses));
    EXPECT_EQ(names, (std::vector<std::string>{""}));
    EXPECT_EQ(addresses, (std::vector<std::string>{m_a1}));
}

TEST_F(LabTest, EjectQueryTakesTheApplianceReply) {
    UsbPacket reply{};
    EXPECT_TRUE(QueryEject("NAS1", m_pc1, m_a1, reply));
    EXPECT_EQ(reply.wType, PKT_EJECTED);
    EXPECT_EQ(reply.wStatus, 0);
    EXPECT_EQ(UsbPacketName(reply), "\\\\NAS1\\usb");

    ASSERT_TRUE(Control(m_a1, "eject inuse"));
    ASSERT_TRUE(Control(m_a2, "eject silent"));
    EXPECT_TRUE(QueryEject("NAS1", m_pc1, m_a1, reply));
    EXPECT_EQ(reply.wStatus, STATUS_IN_USE);
}

TEST_F(LabTest, EjectQueryWithoutAnswerSendsThreeRequestsOneWaitApart) {
    ASSERT_TRUE(Control(m_a1, "eject silent"));
    ASSERT_TRUE(Control(m_a2, "eject silent"));
    CPortWatcher watcher;
    ASSERT_TRUE(watcher.Bound());
    CShortWaitSocket socket;
    UsbPacket reply{};
    DWORD start = GetTickCount();

    EXPECT_FALSE(RunEjectQuery(socket, "NAS1", inet_addr(m_pc1.c_str()), inet_addr(m_a1.c_str()), reply));

    // Three waits of 200 ms: the requests went out one wait apart, not at once.
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 550u);
    EXPECT_LT(elapsed, 3000u);
    EXPECT_EQ(socket.m_waits, (std::vector<uint32_t>{20000, 20000, 20000}));
    auto seen = watcher.Drain(300);
    ASSERT_EQ(seen.size(), 3u);
    UsbPacketImage expected = BuildEjectRequest("NAS1");
    for (auto& d : seen) EXPECT_EQ(d, std::vector<uint8_t>(expected.begin(), expected.end()));
}

TEST_F(LabTest, ListenerReadsNoticesWithTheirSender) {
    HWND window = CreateWindowExA(0, "STATIC", "listener", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT WM_SOCKETNOTIFY = WM_USER + 1;
    SOCKET listener = OpenListener(window, WM_SOCKETNOTIFY);
    ASSERT_NE(listener, INVALID_SOCKET);
    EXPECT_EQ(OpenListener(window, WM_SOCKETNOTIFY), INVALID_SOCKET) << "port 917 is taken";

    auto waitNotice = [&](UsbPacket& packet) {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 2000) {
            MSG msg;
            while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE))
                if (msg.message == WM_SOCKETNOTIFY) return ReceivePacket(listener, packet);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return false;
    };

    UsbPacket packet{};
    ASSERT_TRUE(Control(m_a1, "notify 36 264 " + m_pc1 + " \\\\NAS1\\usb1"));
    ASSERT_TRUE(waitNotice(packet));
    EXPECT_EQ(packet.wType, PKT_WRONG_PORT);
    EXPECT_EQ(packet.wLength, 256);
    EXPECT_EQ(UsbPacketName(packet), "\\\\NAS1\\usb1");
    EXPECT_STREQ(g_senderAddress, m_a1.c_str());

    ASSERT_TRUE(Control(m_a2, "notify 33 6 " + m_pc2));
    ASSERT_TRUE(waitNotice(packet));
    EXPECT_EQ(packet.wType, PKT_EJECTED);
    EXPECT_EQ(packet.wLength, 0);
    EXPECT_EQ(UsbPacketName(packet), "");
    EXPECT_STREQ(g_senderAddress, m_a2.c_str());

    // Past the 512-byte buffer: the first 264 bytes still make the record.
    ASSERT_TRUE(Control(m_a1, "notify 34 700 " + m_pc1 + " \\\\NAS1\\usb"));
    ASSERT_TRUE(waitNotice(packet));
    EXPECT_EQ(packet.wType, PKT_REMOVED);
    EXPECT_EQ(UsbPacketName(packet), "\\\\NAS1\\usb");

    // An empty datagram is no notice: nothing changes.
    ASSERT_TRUE(Control(m_a2, "notify 32 0 " + m_pc2));
    EXPECT_FALSE(waitNotice(packet));
    EXPECT_EQ(packet.wType, PKT_REMOVED);
    EXPECT_STREQ(g_senderAddress, m_a1.c_str());

    closesocket(listener);
    DestroyWindow(window);
}

// With the 60-byte reply buffer of a 32-bit build every echo fails on x86_64 and every appliance looks absent.
TEST_F(LabTest, ReachabilityNeedsOneAnsweredEcho) {
    EXPECT_TRUE(IsHostReachable(m_a1.c_str()));
    EXPECT_TRUE(IsHostReachable(m_pc1.c_str()));
    EXPECT_FALSE(IsHostReachable(m_a2.c_str())) << "a2 ignores ICMP";
    EXPECT_FALSE(IsHostReachable("198.18.1.99")) << "nobody there";
    EXPECT_FALSE(IsHostReachable("not an address"));
}

TEST_F(LabTest, AHostAnsweringOnlyLaterEchoesIsReachable) {
    ASSERT_TRUE(Control(m_a1, "icmp-off 1500"));
    DWORD start = GetTickCount();
    EXPECT_TRUE(IsHostReachable(m_a1.c_str()));
    EXPECT_GE(GetTickCount() - start, 1400u) << "the first echoes should have gone unanswered";
}

// Against the appliance simulator (tests/sim/segment1.ini on a1 with two addresses, segment2.ini on a2),
// whose codec shares nothing with this one.
TEST(Simulator, DiscoveryAndEjectAgainstTheSimulator) {
    std::vector<std::string> names, addresses;
    EXPECT_TRUE(DiscoverDisks(names, addresses));
    ASSERT_EQ(names.size(), 3u);
    std::vector<std::pair<std::string, std::string>> segment1{{addresses[0], names[0]}, {addresses[1], names[1]}};
    std::sort(segment1.begin(), segment1.end());
    EXPECT_EQ(segment1[0], (std::pair<std::string, std::string>{"198.18.1.10", "\\\\NAS1\\usb"}));
    EXPECT_EQ(segment1[1].first, "198.18.1.11");
    // The unterminated name is cut inside its field.
    EXPECT_EQ(segment1[1].second.size(), USB_NAME_SIZE - 1);
    EXPECT_EQ(segment1[1].second.rfind("\\\\NAS2\\data", 0), 0u);
    EXPECT_EQ(addresses[2], "198.18.2.10");
    EXPECT_EQ(names[2], "\\\\NAS3\\usb");

    // h1 on segment 1 answers every eject request at once with a confirmation of its own; NAS1 answers 300 ms
    // later. Only NAS1's answer counts.
    UsbPacket reply{};
    ASSERT_TRUE(QueryEject("NAS1", "198.18.1.1", "198.18.1.10", reply));
    EXPECT_EQ(reply.wType, PKT_EJECTED);
    EXPECT_EQ(reply.wStatus, 0);
    EXPECT_EQ(UsbPacketName(reply), "\\\\NAS1\\usb");
    // The disk is gone now: the appliance answers, but with no disk to eject.
    ASSERT_TRUE(QueryEject("NAS1", "198.18.1.1", "198.18.1.10", reply));
    EXPECT_NE(reply.wType, PKT_EJECTED);
    EXPECT_EQ(UsbPacketName(reply), "");

    ASSERT_TRUE(QueryEject("NAS2", "198.18.1.1", "198.18.1.11", reply));
    EXPECT_EQ(reply.wStatus, STATUS_IN_USE);

    // No appliance is named NAS9: only h1 answers, three times over, and the query ends without an answer.
    CShortWaitSocket spoofed;
    EXPECT_FALSE(RunEjectQuery(spoofed, "NAS9", inet_addr("198.18.1.1"), inet_addr("198.18.1.10"), reply));
    EXPECT_EQ(spoofed.m_waits.size(), 6u) << "each try: its wait, h1's answer, the rest of the wait";

    // NAS3, behind the PC's second interface, hears the request sent through that interface.
    ASSERT_TRUE(QueryEject("NAS3", "198.18.2.1", "198.18.2.10", reply));
    EXPECT_EQ(reply.wType, PKT_EJECTED);
    EXPECT_EQ(UsbPacketName(reply), "\\\\NAS3\\usb");

    // Into the class library's lists, appended after what they held; NAS1 now answers without a disk.
    CStringList nameList, addressList;
    nameList.AddTail("kept");
    addressList.AddTail("0.0.0.0");
    CStringList localList;
    EXPECT_TRUE(DiscoverDisks(nameList, addressList, &localList));
    ASSERT_EQ(nameList.GetCount(), 4);
    ASSERT_EQ(addressList.GetCount(), 4);
    ASSERT_EQ(localList.GetCount(), 3);
    EXPECT_TRUE(nameList.GetHead() == "kept");
    POSITION n = nameList.FindIndex(1), a = addressList.FindIndex(1);
    bool sawNas1 = false;
    POSITION l = localList.GetHeadPosition();
    while (n != nullptr && a != nullptr && l != nullptr) {
        CString name = nameList.GetNext(n), address = addressList.GetNext(a), local = localList.GetNext(l);
        EXPECT_TRUE(local == (address.Left(9) == "198.18.2." ? "198.18.2.1" : "198.18.1.1")) << local.GetString();
        if (address == "198.18.1.10") {
            sawNas1 = true;
            EXPECT_TRUE(name == "") << name.GetString();
        }
    }
    EXPECT_TRUE(sawNas1);
    CString server = "stale";
    ServerOfPath(CString("\\\\NAS3\\usb"), server);
    EXPECT_TRUE(server == "NAS3");
}

// Run in a lab whose PC has eleven interfaces.
TEST(ManyInterfaces, LocalAddressesStopAtTen) {
    if (LabAddress("ZT_PC_ADDR11").empty()) GTEST_SKIP() << "needs --pc-ifaces 11";
    uint32_t addresses[MAX_LOCAL_ADDRESSES + 1];
    addresses[MAX_LOCAL_ADDRESSES] = 0xA5A5A5A5u;
    int count = -1;
    GetLocalAddresses(addresses, count);
    EXPECT_EQ(count, MAX_LOCAL_ADDRESSES);
    EXPECT_EQ(addresses[MAX_LOCAL_ADDRESSES], 0xA5A5A5A5u) << "written past the ten";
    for (int i = 0; i < count; i++) EXPECT_EQ(FormatIPv4(addresses[i]).rfind("198.18.", 0), 0u) << i;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitSockets();
    int result = RUN_ALL_TESTS();
    WSACleanup();
    return result;
}
