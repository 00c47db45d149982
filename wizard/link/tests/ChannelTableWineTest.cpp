// The channel table over real WinSock under Wine, in a lab with two PC interfaces and config_responder.py
// in echo mode on a1 (segment 1) and a2 (segment 2). The responders answer every datagram with the source
// and destination they saw, and keep a log that the tests read through their control port.
#include "../ChannelTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "FreedBlocks.h"

// The records of the table are heap blocks; the blocks freed are searched for a marker that stands for a
// typed password.
static const char kSecretMarker[] = "Secr3t-Marker";

namespace {

uint32_t Addr(const char* text) {
    return inet_addr(text);
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string Dotted(uint32_t a) {
    in_addr in;
    in.s_addr = a;
    return inet_ntoa(in);
}

HWND MakeOwner() {
    return CreateWindowExA(0, "STATIC", "owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Waits for the channel's notification message on the owner window.
bool WaitForNotification(HWND hOwner, UINT nMessage, DWORD dwTimeout = 2000) {
    DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, hOwner, nMessage, nMessage, PM_REMOVE)) return true;
        DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeout) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, dwTimeout - dwElapsed, QS_POSTMESSAGE);
    }
}

struct Echo {
    uint32_t source;
    uint32_t destination;
    std::string host;
    std::vector<uint8_t> datagram;
};

// Channels of one owner share its message: a notification may be another channel's, and a datagram may
// already wait whose notification an earlier call took.
bool ReceiveEcho(HWND hOwner, UINT nMessage, int hChannel, Echo* pEcho) {
    uint8_t buffer[MAX_PACKET];
    int nLength = 0;
    DWORD dwStart = GetTickCount();
    while (!NetReceive(hChannel, buffer, &nLength)) {
        DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= 2000 || !WaitForNotification(hOwner, nMessage, 2000 - dwElapsed)) return false;
    }
    if (nLength < 15 || memcmp(buffer, "ECHO", 4) != 0) return false;
    memcpy(&pEcho->source, buffer + 4, 4);
    memcpy(&pEcho->destination, buffer + 10, 4);
    int nName = buffer[14];
    pEcho->host.assign(reinterpret_cast<char*>(buffer) + 15, static_cast<size_t>(nName));
    pEcho->datagram.assign(buffer + 15 + nName, buffer + nLength);
    return true;
}

// The datagrams a responder has logged since it was last asked, one JSON line each.
std::vector<std::string> ResponderLog(const std::string& host) {
    std::vector<std::string> lines;
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = Addr(host.c_str());
    to.sin_port = htons(40916);
    sendto(s, "LOG", 3, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval timeout{3, 0};
    if (select(0, &readable, nullptr, nullptr, &timeout) == 1) {
        static char buffer[65536];
        int n = recv(s, buffer, sizeof buffer - 1, 0);
        if (n > 0) {
            std::string text(buffer, static_cast<size_t>(n));
            size_t pos = text.find('\n');
            while (pos != std::string::npos) {
                size_t next = text.find('\n', pos + 1);
                std::string line = text.substr(pos + 1, next == std::string::npos ? std::string::npos : next - pos - 1);
                if (!line.empty()) lines.push_back(line);
                pos = next;
            }
        }
    }
    closesocket(s);
    return lines;
}

bool Has(const std::string& line, const std::string& fragment) {
    return line.find(fragment) != std::string::npos;
}

class ChannelTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(NetStartup(), 1);
        m_hOwner = MakeOwner();
        ASSERT_NE(m_hOwner, nullptr);
        interfaceWalk = true;
        nextBindIndex = 0;
        deviceInterfaceIndex = 0;
        m_a1 = Env("ZT_HOST_A1");
        m_a2 = Env("ZT_HOST_A2");
        ASSERT_FALSE(m_a1.empty());
        ASSERT_FALSE(m_a2.empty());
        ResponderLog(m_a1);
        ResponderLog(m_a2);
    }
    void TearDown() override {
        for (int h = 1; h <= MAX_CHANNELS; ++h) NetCloseChannel(h);
        DestroyWindow(m_hOwner);
    }
    int IndexOf(const std::string& address) {
        for (int i = 0; i < localAddressCount; ++i)
            if (localAddresses[i] == Addr(address.c_str())) return i;
        return -1;
    }

    HWND m_hOwner = nullptr;
    std::string m_a1, m_a2;
    uint8_t m_packet[MAX_PACKET] = {};
};

// Runs first: nothing is started yet.
TEST(ChannelTableStartup, CallsBeforeStartupFailWithNotStarted) {
    HWND hOwner = MakeOwner();
    uint8_t packet[MAX_PACKET] = {};
    uint32_t dw = 0;
    NetLastError = 0;
    EXPECT_EQ(NetOpenChannel(hOwner, WM_NET_SEARCH), 0);
    EXPECT_EQ(NetLastError, ERR_NOT_STARTED);
    auto expectNotStarted = [](int nResult) {
        EXPECT_EQ(nResult, 0);
        EXPECT_EQ(NetLastError, ERR_NOT_STARTED);
        NetLastError = 0;
    };
    expectNotStarted(NetCloseChannel(1));
    expectNotStarted(NetReopenChannel(hOwner, 1126, 1));
    expectNotStarted(NetSendRequest(1, PKT_GET_INFO, 1, packet));
    expectNotStarted(NetResend(1));
    expectNotStarted(NetReceive(1, packet));
    expectNotStarted(NetSetDestination(1, 0xFFFFFFFF));
    expectNotStarted(NetGetSender(1, &dw));
    expectNotStarted(NetCleanup());
    DestroyWindow(hOwner);
}

TEST(ChannelTableStartup, StartupTwiceStartsWinSockOnce) {
    EXPECT_EQ(NetStartup(), 1);
    EXPECT_EQ(NetStartup(), 1);
    HWND hOwner = MakeOwner();
    int h = NetOpenChannel(hOwner, 1126);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(NetCleanup(), 1);
    // One cleanup undid the one WSAStartup: the table is empty and closed again.
    EXPECT_EQ(NetCloseChannel(h), 0);
    EXPECT_EQ(NetLastError, ERR_NOT_STARTED);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    EXPECT_EQ(s, INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    if (s != INVALID_SOCKET) closesocket(s);
    EXPECT_EQ(NetStartup(), 1);
    EXPECT_EQ(NetOpenChannel(hOwner, 1126), 1);
    EXPECT_EQ(NetCloseChannel(1), 1);
    DestroyWindow(hOwner);
}

TEST_F(ChannelTableTest, LocalAddressesAreThePcsInterfaces) {
    NetGetLocalAddresses(localAddresses, &localAddressCount);
    ASSERT_EQ(localAddressCount, 2);
    EXPECT_GE(IndexOf(Env("ZT_PC_ADDR1")), 0);
    EXPECT_GE(IndexOf(Env("ZT_PC_ADDR2")), 0);
}

TEST_F(ChannelTableTest, SixteenSlotsThenNoSlotAndLowestFreeIsReused) {
    for (int i = 1; i <= MAX_CHANNELS; ++i) ASSERT_EQ(NetOpenChannel(m_hOwner, 1126), i);
    NetLastError = 0;
    EXPECT_EQ(NetOpenChannel(m_hOwner, 1126), 0);
    EXPECT_EQ(NetLastError, ERR_NO_SLOT);
    EXPECT_EQ(NetCloseChannel(9), 1);
    EXPECT_EQ(NetCloseChannel(5), 1);
    EXPECT_EQ(NetOpenChannel(m_hOwner, 1126), 5);
    EXPECT_EQ(NetOpenChannel(m_hOwner, 1126), 9);
    EXPECT_EQ(NetOpenChannel(m_hOwner, 1126), 0);
}

TEST_F(ChannelTableTest, BadHandlesAreRefused) {
    int h = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(h, 1);
    ASSERT_EQ(NetCloseChannel(h), 1);
    uint32_t dw = 0;
    for (int bad : {0, 17, -1, h}) {
        auto expectBad = [bad](int nResult) {
            EXPECT_EQ(nResult, 0) << bad;
            EXPECT_EQ(NetLastError, ERR_BAD_HANDLE) << bad;
            NetLastError = 0;
        };
        expectBad(NetCloseChannel(bad));
        expectBad(NetReopenChannel(m_hOwner, 1126, bad));
        expectBad(NetSendRequest(bad, PKT_GET_INFO, 1, m_packet));
        expectBad(NetResend(bad));
        expectBad(NetReceive(bad, m_packet));
        expectBad(NetSetDestination(bad, 0xFFFFFFFF));
        expectBad(NetGetSender(bad, &dw));
    }
}

TEST_F(ChannelTableTest, SearchChannelsAreBoundToSuccessiveLocalAddresses) {
    NetGetLocalAddresses(localAddresses, &localAddressCount);
    ASSERT_EQ(localAddressCount, 2);
    int hOther = NetOpenChannel(m_hOwner, 1126);  // never bound, and does not advance the walk
    EXPECT_EQ(nextBindIndex, 0);
    int hFirst = NetOpenChannel(m_hOwner, WM_NET_SEARCH);
    int hSecond = NetOpenChannel(m_hOwner, WM_NET_SEARCH);
    EXPECT_EQ(nextBindIndex, 2);
    int hThird = NetOpenChannel(m_hOwner, WM_NET_SEARCH);
    EXPECT_EQ(nextBindIndex, 2);
    ASSERT_TRUE(hOther && hFirst && hSecond && hThird);
    // Each channel tells which local address it is bound to; past the last address, and off the walk, none.
    for (auto [h, nExpected] : {std::pair{hOther, -1}, {hFirst, 0}, {hSecond, 1}, {hThird, -1}}) {
        int nIndex = 99;
        ASSERT_EQ(NetGetBoundIndex(h, &nIndex), 1);
        EXPECT_EQ(nIndex, nExpected) << h;
    }

    // A broadcast leaves through the bound interface only: one segment answers.
    for (int h : {hFirst, hSecond}) {
        ASSERT_EQ(NetSetDestination(h, 0xFFFFFFFF), 1);
        ASSERT_EQ(NetSendRequest(h, PKT_GET_INFO, static_cast<uint16_t>(100 + h), m_packet), 1);
    }
    Echo echo;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, WM_NET_SEARCH, hFirst, &echo));
    EXPECT_EQ(Dotted(echo.source), Dotted(localAddresses[0]));
    EXPECT_EQ(Dotted(echo.destination), "255.255.255.255");
    ASSERT_TRUE(ReceiveEcho(m_hOwner, WM_NET_SEARCH, hSecond, &echo));
    EXPECT_EQ(Dotted(echo.source), Dotted(localAddresses[1]));
    std::vector<std::string> log1 = ResponderLog(m_a1), log2 = ResponderLog(m_a2);
    const std::string& first = IndexOf(Env("ZT_PC_ADDR1")) == 0 ? m_a1 : m_a2;
    const std::vector<std::string>& logFirst = first == m_a1 ? log1 : log2;
    const std::vector<std::string>& logSecond = first == m_a1 ? log2 : log1;
    ASSERT_EQ(logFirst.size(), 1u);
    EXPECT_TRUE(Has(logFirst[0], "\"seq\": " + std::to_string(100 + hFirst)));
    ASSERT_EQ(logSecond.size(), 1u);
    EXPECT_TRUE(Has(logSecond[0], "\"seq\": " + std::to_string(100 + hSecond)));

    // Only the search message is walked, and only while interfaceWalk is set.
    nextBindIndex = 0;
    interfaceWalk = false;
    NetCloseChannel(hThird);
    EXPECT_NE(NetOpenChannel(m_hOwner, WM_NET_SEARCH), 0);
    EXPECT_EQ(nextBindIndex, 0);
}

TEST_F(ChannelTableTest, RequestHeaderAndLengthFollowTheCatalogue) {
    int h = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(NetSetDestination(h, Addr(m_a1.c_str())), 1);
    memset(m_packet + 8, 0x33, 21);
    m_packet[2] = 0x55;  // a stale status is overwritten
    ASSERT_EQ(NetSendRequest(h, PKT_CHECK_PASSWORD, 0x1234, m_packet), 1);
    Echo echo;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &echo));
    ASSERT_EQ(echo.datagram.size(), 8u + 21u);
    const uint8_t header[8] = {19, 0, 0, 0, 0x34, 0x12, 21, 0};
    EXPECT_EQ(memcmp(echo.datagram.data(), header, 8), 0);
    EXPECT_EQ(echo.datagram[8 + 20], 0x33);
    EXPECT_FALSE(echo.host.empty());
}

TEST_F(ChannelTableTest, UnknownTypeSendsNothingAndKeepsTheLastRequest) {
    int h = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(NetSetDestination(h, Addr(m_a1.c_str())), 1);
    ASSERT_EQ(NetSendRequest(h, PKT_GET_INFO, 11, m_packet), 1);
    Echo echo;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &echo));
    EXPECT_EQ(NetSendRequest(h, 20, 12, m_packet), 0);
    EXPECT_EQ(NetSendRequest(h, 0xFFFF, 13, m_packet), 0);
    ASSERT_EQ(NetResend(h), 1);
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &echo));
    ASSERT_EQ(echo.datagram.size(), 8u);
    EXPECT_EQ(echo.datagram[0], 16);
    EXPECT_EQ(echo.datagram[4], 11);
    std::vector<std::string> log = ResponderLog(m_a1);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(Has(log[0], "\"seq\": 11"));
    EXPECT_TRUE(Has(log[1], "\"seq\": 11"));
}

TEST_F(ChannelTableTest, ResendGoesToTheNewDestinationWithTheSameBytes) {
    int h = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(NetSetDestination(h, Addr(m_a1.c_str())), 1);
    for (int i = 0; i < 234; ++i) m_packet[8 + i] = static_cast<uint8_t>(i);
    ASSERT_EQ(NetSendRequest(h, PKT_SET_CONFIG, 777, m_packet), 1);
    memset(m_packet, 0, sizeof m_packet);  // the channel keeps its own copy
    ASSERT_EQ(NetSetDestination(h, 0xFFFFFFFF), 1);
    ASSERT_EQ(NetResend(h), 1);
    Echo first, second;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &first));
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &second));
    EXPECT_EQ(first.datagram, second.datagram);
    EXPECT_EQ(first.datagram.size(), 8u + 234u);
    EXPECT_EQ(Dotted(first.destination), m_a1);
    EXPECT_EQ(Dotted(second.destination), "255.255.255.255");
}

TEST_F(ChannelTableTest, BroadcastWithoutWalkReplacesTheSocketByOneOnTheDevicesInterface) {
    NetGetLocalAddresses(localAddresses, &localAddressCount);
    int h = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(NetSetDestination(h, Addr(m_a2.c_str())), 1);
    ASSERT_EQ(NetSendRequest(h, PKT_GET_INFO, 21, m_packet), 1);
    Echo echo;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &echo));

    interfaceWalk = false;
    deviceInterfaceIndex = IndexOf(Env("ZT_PC_ADDR2"));
    ASSERT_GE(deviceInterfaceIndex, 0);
    ASSERT_EQ(NetSetDestination(h, 0xFFFFFFFF), 1);
    ASSERT_EQ(NetResend(h), 1);  // the old request, through the new socket, to the same owner and message
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &echo));
    EXPECT_EQ(Dotted(echo.source), Env("ZT_PC_ADDR2"));
    EXPECT_EQ(Dotted(echo.destination), "255.255.255.255");
    EXPECT_EQ(echo.datagram[4], 21);
    EXPECT_EQ(ResponderLog(m_a2).size(), 2u);
    EXPECT_EQ(ResponderLog(m_a1).size(), 0u);  // segment 1 saw nothing

    // With the walk on, a broadcast keeps the socket: it stays bound to the second address.
    interfaceWalk = true;
    deviceInterfaceIndex = IndexOf(Env("ZT_PC_ADDR1"));
    ASSERT_EQ(NetSetDestination(h, 0xFFFFFFFF), 1);
    ASSERT_EQ(NetResend(h), 1);
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, h, &echo));
    EXPECT_EQ(Dotted(echo.source), Env("ZT_PC_ADDR2"));
}

// An appliance found through an unbound channel has no interface (-1): the broadcast keeps the socket.
TEST_F(ChannelTableTest, BroadcastForAnApplianceWithoutInterfaceKeepsTheSocket) {
    NetGetLocalAddresses(localAddresses, &localAddressCount);
    nextBindIndex = 1;
    int h = NetOpenChannel(m_hOwner, WM_NET_SEARCH);  // bound to the second address
    ASSERT_EQ(nextBindIndex, 2);
    interfaceWalk = false;
    deviceInterfaceIndex = -1;
    ASSERT_EQ(NetSetDestination(h, 0xFFFFFFFF), 1);
    ASSERT_EQ(NetSendRequest(h, PKT_GET_INFO, 61, m_packet), 1);
    Echo echo;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, WM_NET_SEARCH, h, &echo));
    EXPECT_EQ(Dotted(echo.source), Dotted(localAddresses[1]));
    deviceInterfaceIndex = MAX_LOCAL_ADDRESSES;  // nothing is read past the table either
    ASSERT_EQ(NetSetDestination(h, 0xFFFFFFFF), 1);
    ASSERT_EQ(NetResend(h), 1);
    ASSERT_TRUE(ReceiveEcho(m_hOwner, WM_NET_SEARCH, h, &echo));
    EXPECT_EQ(Dotted(echo.source), Dotted(localAddresses[1]));
}

TEST_F(ChannelTableTest, ReopenedSearchChannelWalksOnWithTheOldRequest) {
    NetGetLocalAddresses(localAddresses, &localAddressCount);
    int h = NetOpenChannel(m_hOwner, WM_NET_SEARCH);
    ASSERT_EQ(NetSetDestination(h, 0xFFFFFFFF), 1);
    ASSERT_EQ(NetSendRequest(h, PKT_GET_INFO, 4242, m_packet), 1);
    Echo echo;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, WM_NET_SEARCH, h, &echo));
    EXPECT_EQ(Dotted(echo.source), Dotted(localAddresses[0]));

    int hBlocker = NetOpenChannel(m_hOwner, 1126);  // takes slot 2: the reopened channel lands in slot 1 again
    int hNew = NetReopenChannel(m_hOwner, WM_NET_SEARCH, h);
    ASSERT_NE(hNew, 0);
    EXPECT_EQ(nextBindIndex, 2);
    EXPECT_EQ(NetCloseChannel(hBlocker), 1);
    ASSERT_EQ(NetResend(hNew), 1);
    ASSERT_TRUE(ReceiveEcho(m_hOwner, WM_NET_SEARCH, hNew, &echo));
    EXPECT_EQ(Dotted(echo.source), Dotted(localAddresses[1]));
    EXPECT_EQ(Dotted(echo.destination), "255.255.255.255");
    ASSERT_EQ(echo.datagram.size(), 8u);
    EXPECT_EQ(echo.datagram[4] | (echo.datagram[5] << 8), 4242);
    // The old handle is gone unless it was reused.
    if (hNew != h) {
        EXPECT_EQ(NetResend(h), 0);
    }
}

TEST_F(ChannelTableTest, ReopenKeepsADestinationForUnicast) {
    int h = NetOpenChannel(m_hOwner, 1126);
    int hSpare = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(NetCloseChannel(h), 1);  // slot 1 free: the reopen of hSpare moves it there
    ASSERT_EQ(NetSetDestination(hSpare, Addr(m_a1.c_str())), 1);
    ASSERT_EQ(NetSendRequest(hSpare, PKT_GET_INFO, 31, m_packet), 1);
    Echo echo;
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, hSpare, &echo));
    int hNew = NetReopenChannel(m_hOwner, 1126, hSpare);
    EXPECT_EQ(hNew, 1);  // a new handle: the lowest free slot
    ASSERT_EQ(NetResend(hNew), 1);
    ASSERT_TRUE(ReceiveEcho(m_hOwner, 1126, hNew, &echo));
    EXPECT_EQ(Dotted(echo.destination), m_a1);
    EXPECT_EQ(echo.datagram[4], 31);
}

TEST_F(ChannelTableTest, ReceiveClearsTheBufferAndRecordsTheSender) {
    int h = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(NetSetDestination(h, Addr(m_a1.c_str())), 1);
    ASSERT_EQ(NetSendRequest(h, PKT_GET_INFO, 41, m_packet), 1);
    ASSERT_TRUE(WaitForNotification(m_hOwner, 1126));
    uint8_t buffer[MAX_PACKET];
    memset(buffer, 0xCC, sizeof buffer);
    int nLength = 0;
    ASSERT_EQ(NetReceive(h, buffer, &nLength), 1);
    ASSERT_GT(nLength, 0);
    ASSERT_LT(nLength, 100);
    for (int i = nLength; i < MAX_PACKET; ++i) ASSERT_EQ(buffer[i], 0) << i;
    uint32_t dwSender = 0;
    ASSERT_EQ(NetGetSender(h, &dwSender), 1);
    EXPECT_EQ(Dotted(dwSender), m_a1);
    EXPECT_EQ(Dotted(lastSender), m_a1);
    // Nothing more to read: a failed receive, with the buffer cleared all the same.
    memset(buffer, 0xCC, sizeof buffer);
    EXPECT_EQ(NetReceive(h, buffer, &nLength), 0);
    EXPECT_EQ(NetGetChannelError(h), WSAEWOULDBLOCK);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(nLength, 0);
}

// A search reads a burst at one notice with the notices held; what waits when it resumes must be told at once.
TEST_F(ChannelTableTest, HeldNoticesResumeWithOneForWhatWaits) {
    int hHeld = NetOpenChannel(m_hOwner, 1127);
    int hClock = NetOpenChannel(m_hOwner, 1128);
    ASSERT_EQ(NetHoldNotices(hHeld, true), 1);
    ASSERT_EQ(NetSetDestination(hHeld, Addr(m_a1.c_str())), 1);
    ASSERT_EQ(NetSetDestination(hClock, Addr(m_a1.c_str())), 1);
    // The responder answers in order on one path: once the second channel's echo is here, so is the first's.
    ASSERT_EQ(NetSendRequest(hHeld, PKT_GET_INFO, 42, m_packet), 1);
    ASSERT_EQ(NetSendRequest(hClock, PKT_GET_INFO, 43, m_packet), 1);
    ASSERT_TRUE(WaitForNotification(m_hOwner, 1128));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, m_hOwner, 1127, 1127, PM_REMOVE)) << "a notice while held";
    ASSERT_EQ(NetHoldNotices(hHeld, false), 1);
    ASSERT_TRUE(PeekMessageA(&msg, m_hOwner, 1127, 1127, PM_REMOVE)) << "no notice for the waiting datagram";
    EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
    uint8_t buffer[MAX_PACKET];
    EXPECT_EQ(NetReceive(hHeld, buffer), 1);
    EXPECT_EQ(NetHoldNotices(MAX_CHANNELS + 1, true), 0);
}

TEST_F(ChannelTableTest, ClosedOrReopenedChannelKeepsNoCopyOfThePassword) {
    int h = NetOpenChannel(m_hOwner, 1126);
    ASSERT_EQ(NetSetDestination(h, Addr(m_a1.c_str())), 1);
    memcpy(m_packet + 8 + 6, kSecretMarker, 14);
    ASSERT_EQ(NetSendRequest(h, PKT_CHECK_PASSWORD, 51, m_packet), 1);
    memset(m_packet, 0, sizeof m_packet);
    CountFreedBlocksWith(kSecretMarker);
    int hNew = NetReopenChannel(m_hOwner, 1126, h);
    ASSERT_NE(hNew, 0);
    EXPECT_EQ(FreedBlocksWithMarker(), 0);
    ASSERT_EQ(NetCloseChannel(hNew), 1);
    EXPECT_EQ(FreedBlocksWithMarker(), 0);

    // The check itself works: an unwiped block with the marker is counted.
    char* pProbe = new char[64];
    memcpy(pProbe, kSecretMarker, sizeof kSecretMarker);
    delete[] pProbe;
    EXPECT_EQ(FreedBlocksWithMarker(), 1);
}

// Run alone, in a lab whose PC has eleven interfaces.
TEST(ChannelTableManyInterfaces, LocalAddressTableStopsAtTen) {
    ASSERT_EQ(NetStartup(), 1);
    struct {
        uint32_t table[MAX_LOCAL_ADDRESSES];
        uint32_t guard;
    } addresses;
    memset(&addresses, 0xAB, sizeof addresses);
    int nCount = -1;
    NetGetLocalAddresses(addresses.table, &nCount);
    EXPECT_EQ(nCount, MAX_LOCAL_ADDRESSES);
    EXPECT_EQ(addresses.guard, 0xABABABABu);
    EXPECT_EQ(Dotted(addresses.table[0]).substr(0, 7), "198.18.");
    EXPECT_EQ(Dotted(addresses.table[9]).substr(0, 7), "198.18.");
}

}  // namespace
