// The tray application in-process under Wine: the frame with its listener on port 917, notices sent to it
// over loopback, the dialog chains driven through the modal hook, connections through mpr.dll and the
// project's network provider (run under ztnpreg), message boxes recorded. The appliances' answers
// (discovery, echo, eject) come from a stand-in network so that no case waits seconds.
#include "ComboBoxEx.h"
#include "DriveRemovedDlg.h"
#include "MainFrame.h"
#include "MapDriveDlg.h"
#include "MessageBoxRecorder.h"
#include "MessagePump.h"
#include "ModalHook.h"
#include "NoticeQueues.h"
#include "QueueBounds.h"
#include "SafeRemoveDlg.h"
#include "Screenshot.h"
#include "TrayNetwork.h"
#include "TreeCtrl.h"
#include "UsbService.h"
#include "WinApp.h"
#include "resource.h"

#include <winsock2.h>
#include <winnetwk.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string g_ztnpreg;  // the provider's tool, for failures and remembered connections

// Stands in for the appliances: chosen discovery replies, silent addresses and eject replies.
class CFakeNetwork : public CTrayNetwork {
public:
    CFakeNetwork() { m_previous = Install(this); }
    ~CFakeNetwork() override { Install(m_previous); }

    // Each reply comes through the PC's interface on the appliance's segment (its .1 address).
    bool DiscoverDisks(CStringList& names, CStringList& addresses, CStringList& locals) override {
        discoveries++;
        for (const auto& disk : disks) {
            names.AddTail(disk.first.c_str());
            addresses.AddTail(disk.second.c_str());
            locals.AddTail((disk.second.substr(0, disk.second.rfind('.')) + ".1").c_str());
        }
        return true;
    }
    bool IsHostReachable(const char* address) override {
        tested[address]++;
        return silent.count(address) == 0;
    }
    // The test's answer at once, unless a real echo test of another address is asked for.
    void BeginHostCheck(const CString& address, HWND window, UINT message, WPARAM checkId) override {
        checksBegun++;
        if (!pingInstead.empty()) {
            CTrayNetwork::BeginHostCheck(pingInstead.c_str(), window, message, checkId);
            return;
        }
        ::PostMessageA(window, message, checkId, IsHostReachable(address) ? 1 : 0);
    }
    bool QueryEject(const CString& serverName, const CString& localAddress, const CString& applianceAddress,
                    UsbPacket& reply) override {
        ejects.push_back(std::string(serverName.GetString()) + " via " + localAddress.GetString() + " from " +
                         applianceAddress.GetString());
        if (!ejectAnswers) {
            return false;
        }
        reply = ejectReply;
        return true;
    }

    std::vector<std::pair<std::string, std::string>> disks;  // path, appliance address
    std::set<std::string> silent;
    std::string pingInstead;  // when set, notices' senders are tested by real echoes to this address
    int checksBegun = 0;
    std::map<std::string, int> tested;  // echo tests asked for, per address
    int discoveries = 0;
    std::vector<std::string> ejects;  // "SERVER via LOCAL from APPLIANCE"
    bool ejectAnswers = true;
    UsbPacket ejectReply{};

private:
    CTrayNetwork* m_previous;
};

// What a dialog showed when it came up.
struct Shown {
    UINT id;
    std::string path;                 // map dialog: the path static; notices: their text
    std::vector<std::string> drives;  // map dialog: the drive box
    int selected = -1;
    bool okEnabled = true;
    std::string sender = g_senderAddress;
};

std::string Text(CWnd* pWnd, int id) {
    CString text;
    pWnd->GetDlgItemText(id, text);
    return text.GetString();
}

Shown Inspect(CDialog* pDlg) {
    Shown s{pDlg->GetTemplateID(), "", {}, -1, true, g_senderAddress};
    if (s.id == IDD_MAP_DRIVE) {
        s.path = Text(pDlg, IDC_PATH);
        // Read through the window library's control, as the dialog reads it.
        const auto* box = static_cast<const CComboBoxEx*>(pDlg->GetDlgItem(IDC_DRIVE_BOX));
        for (int i = 0; i < box->GetCount(); i++) {
            CString text;
            box->GetLBText(i, text);
            s.drives.emplace_back(text.GetString());
        }
        s.selected = box->GetCurSel();
        s.okEnabled = pDlg->GetDlgItem(IDOK)->IsWindowEnabled() != FALSE;
    } else if (s.id == IDD_DRIVE_REMOVED || s.id == IDD_WRONG_PORT) {
        s.path = Text(pDlg, IDC_NOTICE_TEXT);
    }
    return s;
}

// A button's click; IDCANCEL without a Cancel button is the Esc key's command.
void Press(CDialog* pDlg, int id) {
    CWnd* button = pDlg->GetDlgItem(id);
    pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button ? button->GetSafeHwnd() : nullptr));
}

// The frame's messages through the window library's pump, which its dialogs need: for ms of real time, or until
// done() holds.
void Pump(int ms) {
    PumpFor(static_cast<DWORD>(ms), AfxPumpPendingMessages);
}
bool WaitUntil(const std::function<bool()>& done, int ms = 3000) {
    return PumpUntil(done, static_cast<DWORD>(ms), AfxPumpPendingMessages);
}

// A notice as an appliance sends it, to the listener over loopback; or, with a local address, to that address,
// which the listener then sees as the sender.
void SendNotice(uint16_t type, const std::string& path, uint16_t length = 256, const std::string& via = "") {
    UsbPacket packet{};
    packet.wType = type;
    packet.wLength = length;
    std::strncpy(packet.szName, path.c_str(), sizeof packet.szName - 1);
    UsbPacketImage image = SerializeUsbPacket(packet);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(USB_SERVICE_PORT);
    to.sin_addr.s_addr = via.empty() ? htonl(INADDR_LOOPBACK) : inet_addr(via.c_str());
    sendto(s, reinterpret_cast<const char*>(image.data()), static_cast<int>(image.size()), 0,
           reinterpret_cast<sockaddr*>(&to), sizeof to);
    closesocket(s);
}

void RunTool(const std::string& args) {
    std::string command = "\"" + g_ztnpreg + "\" " + args;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

struct Connection {
    std::string local, remote;
    bool operator==(const Connection& o) const { return local == o.local && remote == o.remote; }
};

std::vector<Connection> Listed(DWORD scope) {
    std::vector<Connection> result;
    HANDLE h = nullptr;
    if (WNetOpenEnumA(scope, RESOURCETYPE_DISK, 0, nullptr, &h) != NO_ERROR) {
        return result;
    }
    std::vector<unsigned long long> buffer(2048);
    for (;;) {
        DWORD count = static_cast<DWORD>(-1), size = static_cast<DWORD>(buffer.size() * 8);
        if (WNetEnumResourceA(h, &count, buffer.data(), &size) != NO_ERROR) {
            break;
        }
        auto* entries = reinterpret_cast<NETRESOURCEA*>(buffer.data());
        for (DWORD i = 0; i < count; i++) {
            result.push_back({entries[i].lpLocalName ? entries[i].lpLocalName : "",
                              entries[i].lpRemoteName ? entries[i].lpRemoteName : ""});
        }
    }
    WNetCloseEnum(h);
    return result;
}

std::vector<Connection> Connected() {
    return Listed(RESOURCE_CONNECTED);
}

// No connection and no remembered one is left for the next case.
void ForgetAllConnections() {
    for (const Connection& c : Connected()) {
        WNetCancelConnection2A(c.local.c_str(), CONNECT_UPDATE_PROFILE, TRUE);
    }
    for (const Connection& c : Listed(RESOURCE_REMEMBERED)) {
        std::string key = "Network\\" + c.local.substr(0, 1);
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    }
}

// Each case starts with a new frame (which runs its start-up discovery) and no connections.
class TrayApp : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetAllConnections();
        g_mapDlgActive = g_removedDlgActive = g_warningActive = false;
    }
    void TearDown() override {
        if (m_frame) {
            // The product keeps its listener for the life of the process; the next case needs the port.
            closesocket(m_frame->GetListener());
            m_frame->DestroyWindow();
        }
        ForgetAllConnections();
    }

    // The frame, after its start-up discovery has been handled.
    void Start() {
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME));
        ASSERT_NE(m_frame->GetListener(), INVALID_SOCKET);
        Pump(100);
    }

    // The appliances at the loopback address announce NAS1's and NAS2's disks, mapped to P: and S:, so that
    // their removal notices are heard.
    void MapTwoDisks() {
        m_net.disks = {{"\\\\NAS1\\usb", "127.0.0.1"}, {"\\\\NAS2\\usb", "127.0.0.1"}};
        Connect("P:", "\\\\NAS1\\usb");
        Connect("S:", "\\\\NAS2\\usb");
    }
    void Connect(const char* local, const char* remote) {
        ASSERT_EQ(WNetAddConnectionA(remote, nullptr, local), static_cast<DWORD>(NO_ERROR)) << local << remote;
    }

    CFakeNetwork m_net;
    CMessageBoxRecorder m_boxes;
    std::vector<Shown> m_shown;
    CMainFrame* m_frame = nullptr;
};

TEST_F(TrayApp, StartUpOffersEachReachableUnmappedDiskInItsOwnDialog) {
    m_net.disks = {{"\\\\NAS1\\usb", "198.18.1.10"}, {"", "198.18.1.11"},                 // an appliance without a disk
                   {"\\\\NAS2\\usb", "198.18.1.12"}, {"\\\\NAS3\\usb", "198.18.1.13"},    // silent appliance
                   {"\\\\NAS4\\usb", "198.18.1.14"}, {"\\\\NAS5\\data", "198.18.1.15"}};  // mapped already
    m_net.silent = {"198.18.1.13"};
    Connect("K:", "\\\\NAS5\\data");
    int open = 0, most = 0;
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        most = std::max(most, ++open);
        if (m_shown.size() == 1) {
            SaveArtifactScreenshot(pDlg->GetSafeHwnd(), "map_network_drive");
        }
        Press(pDlg, IDCANCEL);
        open--;
    });
    Start();
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() >= 3 && !g_mapDlgActive && g_mapPaths.IsEmpty(); }));
    Pump(200);
    EXPECT_EQ(m_net.discoveries, 1);
    ASSERT_EQ(m_shown.size(), 3u);
    EXPECT_EQ(m_shown[0].path, "\\\\NAS1\\usb");
    EXPECT_EQ(m_shown[1].path, "\\\\NAS2\\usb");
    EXPECT_EQ(m_shown[2].path, "\\\\NAS4\\usb");
    EXPECT_EQ(most, 1);  // one after another, never two at once
    EXPECT_FALSE(g_mapDlgActive);
}

TEST_F(TrayApp, DriveBoxOffersOnlyFreeLettersAndSelectsTheFirst) {
    m_net.disks = {{"\\\\NAS1\\usb", "198.18.1.10"}};
    Connect("D:", "\\\\NAS9\\a");
    Connect("F:", "\\\\NAS9\\b");
    RunTool("remember Y: \\\\NAS1\\old");  // remembered, not connected: still blocks Y:
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        Press(pDlg, IDOK);
    });
    Start();
    ASSERT_TRUE(WaitUntil([&] { return !m_shown.empty() && !g_mapDlgActive; }));
    ASSERT_EQ(m_shown.size(), 1u);
    std::vector<std::string> expected;
    for (char c = 'E'; c <= 'Y'; ++c) {  // C: and Z: are local, D: and F: connected, Y: remembered
        if (c != 'F' && c != 'Y') {
            expected.push_back(std::string{c, ':'});
        }
    }
    EXPECT_EQ(m_shown[0].drives, expected);
    EXPECT_EQ(m_shown[0].selected, 0);
    // OK connects the preselected letter.
    std::vector<Connection> now = Connected();
    EXPECT_NE(std::find(now.begin(), now.end(), Connection{"E:", "\\\\NAS1\\usb"}), now.end());
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(TrayApp, APathLongerThan254CharactersIsConnectedWithItsFirst254) {
    const std::string path = "\\\\NAS1\\" + std::string(250, 'x');
    m_net.disks = {{path, "198.18.1.10"}};
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        Press(pDlg, IDOK);
    });
    Start();
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 1 && !g_mapDlgActive; }));
    EXPECT_EQ(m_shown[0].path, path);
    std::vector<Connection> now = Connected();
    ASSERT_EQ(now.size(), 1u) << m_boxes.GetCount();
    EXPECT_EQ(now[0].remote, path.substr(0, 254));
}

TEST_F(TrayApp, ThreeDiskNoticesDuringAnOpenDialogGiveThreeMoreDialogsInOrder) {
    m_net.disks = {{"\\\\NAS1\\usb", "198.18.1.10"}};
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        if (m_shown.size() == 1) {
            SendNotice(PKT_DISK_INFO, "\\\\NASA\\usb");
            SendNotice(PKT_DISK_INFO, "\\\\NASB\\usb");
            SendNotice(PKT_DISK_INFO, "\\\\NASC\\usb");
            WaitUntil([] { return g_mapPaths.GetCount() == 4; });
            EXPECT_EQ(g_mapPaths.GetCount(), 4);
            // Map Drive while the dialog is open: no discovery, the queue stays.
            ::SendMessageA(::FindWindowA(nullptr, "Pebblink Utility"), WM_COMMAND, ID_MAP_DRIVE, 0);
            EXPECT_EQ(m_net.discoveries, 1);
            EXPECT_EQ(g_mapPaths.GetCount(), 4);
        }
        Press(pDlg, IDCANCEL);
    });
    Start();
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() >= 4 && !g_mapDlgActive; }));
    Pump(200);
    ASSERT_EQ(m_shown.size(), 4u);
    EXPECT_EQ(m_shown[1].path, "\\\\NASA\\usb");
    EXPECT_EQ(m_shown[2].path, "\\\\NASB\\usb");
    EXPECT_EQ(m_shown[3].path, "\\\\NASC\\usb");
    EXPECT_EQ(m_net.discoveries, 1);
    EXPECT_TRUE(g_mapPaths.IsEmpty());
}

TEST_F(TrayApp, DiskNoticesForMappedPathsSilentSendersAndEmptyLengthsGiveNoDialog) {
    Connect("M:", "\\\\NAS1\\usb");
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        Press(pDlg, IDCANCEL);
    });
    Start();
    SendNotice(PKT_DISK_INFO, "\\\\NAS1\\usb");     // mapped already
    SendNotice(PKT_DISK_INFO, "\\\\NAS3\\usb", 0);  // zero wLength
    SendNotice(PKT_EJECT, "\\\\NAS4\\usb");         // not a notice type
    Pump(400);
    m_net.silent = {"127.0.0.1"};
    SendNotice(PKT_DISK_INFO, "\\\\NAS2\\usb");  // the sender answers no echo
    Pump(400);
    for (const Shown& shown : m_shown) {
        ADD_FAILURE() << "dialog " << shown.id << " for " << shown.path << " from " << shown.sender;
    }
    EXPECT_TRUE(g_mapPaths.IsEmpty());
    m_net.silent.clear();
    // A path announced twice gets its second dialog only when the first did not map it.
    SendNotice(PKT_DISK_INFO, "\\\\NAS5\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 1 && !g_mapDlgActive; }));
    SendNotice(PKT_DISK_INFO, "\\\\NAS5\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 2 && !g_mapDlgActive; }));
    EXPECT_EQ(m_shown[1].path, "\\\\NAS5\\usb");
    EXPECT_EQ(m_shown[1].sender, "127.0.0.1");
}

TEST_F(TrayApp, TheListenerHoldsABurstOfAThousandNoticesSentBeforeAnyIsRead) {
    Start();
    // A type the frame ignores, so that nothing but the socket buffer is measured.
    const int kBurst = 1000;
    for (int i = 0; i < kBurst; i++) {
        SendNotice(0x7F7F, "\\\\BURST\\" + std::to_string(i));
    }
    char buffer[USB_RECEIVE_SIZE];
    int nRead = 0;
    while (recv(m_frame->GetListener(), buffer, sizeof buffer, 0) > 0) nRead++;
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    // The platform's default buffer (208 KB here) holds about 170 of them.
    EXPECT_EQ(nRead, kBurst);
    Pump(100);
}

TEST_F(TrayApp, AFloodOfDiskNoticesWithNewNamesOffersOnlyABoundedFew) {
    m_net.disks = {{"\\\\NAS1\\usb", "198.18.1.10"}};
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        if (m_shown.size() == 1) {
            // While the first offer is open: a flood of announcements from one address, every name new,
            // and the open dialog's own path once more.
            for (int i = 0; i < 300; i++) {
                SendNotice(PKT_DISK_INFO, "\\\\FLOOD\\" + std::to_string(i));
            }
            SendNotice(PKT_DISK_INFO, "\\\\NAS1\\usb");
            WaitUntil([&] { return m_frame->GetNoticeGate().PendingChecks() == 0; }, 5000);
            Pump(300);
            EXPECT_EQ(g_mapPaths.GetCount(), 1 + static_cast<int>(MAX_OFFERS_PER_SENDER));
        }
        Press(pDlg, IDCANCEL);
    });
    Start();
    ASSERT_TRUE(WaitUntil([&] { return !m_shown.empty() && !g_mapDlgActive && g_mapPaths.IsEmpty(); }, 10000));
    Pump(300);
    // The open offer, then the oldest four of the flood; the rest never queued.
    ASSERT_EQ(m_shown.size(), 1 + MAX_OFFERS_PER_SENDER);
    for (size_t i = 1; i < m_shown.size(); i++) {
        EXPECT_EQ(m_shown[i].path, "\\\\FLOOD\\" + std::to_string(i - 1));
    }
    EXPECT_EQ(m_frame->GetNoticeGate().WaitingNotices(), 0u);
    // After the flood, a genuine announcement gets its offer as always.
    SendNotice(PKT_DISK_INFO, "\\\\NAS2\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 2 + MAX_OFFERS_PER_SENDER && !g_mapDlgActive; }));
    EXPECT_EQ(m_shown.back().path, "\\\\NAS2\\usb");
}

TEST_F(TrayApp, NoticesFromASilentSenderNeitherStopTheFrameNorStartATestEach) {
    // 198.18.1.99 is nobody in this lab: each echo test of it takes its full 4 s.
    m_net.pingInstead = "198.18.1.99";
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        Press(pDlg, IDCANCEL);
    });
    Start();
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; i++) {
        SendNotice(PKT_DISK_INFO, "\\\\SILENT\\" + std::to_string(i));
    }
    // The frame goes on answering at once while the test runs.
    WaitUntil(
        [&] { return m_frame->GetNoticeGate().PendingChecks() == 1 && m_frame->GetNoticeGate().DroppedNotices() > 0; },
        2000);
    const int slowest = [&] {
        int worst = 0;
        for (int i = 0; i < 20; i++) {
            auto t0 = std::chrono::steady_clock::now();
            AfxPumpPendingMessages();
            ::SendMessageA(m_frame->GetSafeHwnd(), WM_NULL, 0, 0);
            worst = std::max(worst, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                         std::chrono::steady_clock::now() - t0)
                                                         .count()));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return worst;
    }();
    EXPECT_LT(slowest, 500);
    // All of that while the one test was still under way.
    EXPECT_EQ(m_frame->GetNoticeGate().PendingChecks(), 1u);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(3900));
    EXPECT_EQ(m_net.checksBegun, 1);  // one test for the address, however many notices
    EXPECT_EQ(m_frame->GetNoticeGate().WaitingNotices(), MAX_WAITING_PER_CHECK);
    // When it ends unanswered, what waited is dropped: no offer.
    ASSERT_TRUE(WaitUntil([&] { return m_frame->GetNoticeGate().PendingChecks() == 0; }, 15000));
    Pump(300);
    EXPECT_TRUE(m_shown.empty());
    EXPECT_TRUE(g_mapPaths.IsEmpty());
}

TEST_F(TrayApp, ADiscoveryAnsweredManyTimesOverOffersWithinTheQueueBoundsAndTestsASilentSenderOnce) {
    for (int i = 0; i < 300; i++) {
        m_net.disks.push_back({"\\\\FLOOD\\" + std::to_string(i), "198.18.1.12"});
    }
    for (int i = 0; i < 3; i++) {
        m_net.disks.push_back({"\\\\QUIET\\" + std::to_string(i), "198.18.1.13"});
    }
    m_net.disks.push_back({"\\\\NAS1\\usb", "198.18.1.10"});
    m_net.silent = {"198.18.1.13"};
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        Press(pDlg, IDCANCEL);
    });
    Start();
    ASSERT_TRUE(WaitUntil([&] { return !m_shown.empty() && !g_mapDlgActive && g_mapPaths.IsEmpty(); }, 10000));
    Pump(200);
    std::vector<std::string> paths;
    for (const Shown& shown : m_shown) {
        paths.push_back(shown.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"\\\\FLOOD\\0", "\\\\FLOOD\\1", "\\\\FLOOD\\2", "\\\\FLOOD\\3",
                                               "\\\\NAS1\\usb"}));
    // The silent appliance's first entry cost one echo test; its others were dropped without one.
    EXPECT_EQ(m_net.tested["198.18.1.13"], 1);
}

TEST_F(TrayApp, ExitWhileAnOfferIsOpenKeepsTheFrameForItsHandlerAndOffersNoMore) {
    m_net.disks = {{"\\\\NAS1\\usb", "198.18.1.10"}, {"\\\\NAS2\\usb", "198.18.1.11"}};
    bool goneDuringTheDialog = false, iconGone = false;
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        if (m_shown.size() == 1) {
            // Exit's way out: the frame's window is closed while the offer it runs is open.
            m_frame->SendMessage(WM_CLOSE);
            goneDuringTheDialog = m_frame->IsWindowGone();
            iconGone = !m_frame->GetTrayIcon().IsShown();
        }
        Press(pDlg, IDCANCEL);
    });
    Start();
    Pump(500);
    EXPECT_TRUE(goneDuringTheDialog);
    EXPECT_TRUE(iconGone);
    // The handler came back into a frame that still exists, and the chain went no further.
    EXPECT_TRUE(m_frame->IsWindowGone());
    EXPECT_EQ(m_shown.size(), 1u);
    closesocket(m_frame->GetListener());
    delete m_frame;
    m_frame = nullptr;
}

TEST_F(TrayApp, WrongPortNoticeDuringTheWarningIsDropped) {
    int warnings = 0;
    bool escape = false;
    CModalHook hook([&](CDialog* pDlg) {
        Shown s = Inspect(pDlg);
        m_shown.push_back(s);
        if (s.id == IDD_WRONG_PORT) {
            warnings++;
            if (warnings == 1) {
                SaveArtifactScreenshot(pDlg->GetSafeHwnd(), "wrong_port_warning");
                SendNotice(PKT_WRONG_PORT, "\\\\NAS2\\usb");
                Pump(300);
            }
            Press(pDlg, escape ? IDCANCEL : IDOK);
        }
    });
    Start();
    SendNotice(PKT_WRONG_PORT, "\\\\NAS1\\usb");
    ASSERT_TRUE(WaitUntil([&] { return warnings >= 1 && !g_warningActive; }));
    Pump(300);
    ASSERT_EQ(warnings, 1);
    EXPECT_EQ(m_shown[0].path, "Wrong USB flash attach on USB1 of  NAS1  !");
    // After the warning closed, the next one shows again; closing it by Esc does not block later ones.
    SendNotice(PKT_WRONG_PORT, "\\\\NAS3\\usb");
    ASSERT_TRUE(WaitUntil([&] { return warnings == 2 && !g_warningActive; }));
    EXPECT_EQ(m_shown.back().path, "Wrong USB flash attach on USB1 of  NAS3  !");
    escape = true;
    SendNotice(PKT_WRONG_PORT, "\\\\NAS4\\usb");
    ASSERT_TRUE(WaitUntil([&] { return warnings == 3 && !g_warningActive; }));
    SendNotice(PKT_WRONG_PORT, "\\\\NAS5\\usb");
    ASSERT_TRUE(WaitUntil([&] { return warnings == 4 && !g_warningActive; }));
    EXPECT_EQ(m_shown.back().path, "Wrong USB flash attach on USB1 of  NAS5  !");
}

// In the cases of removal notices the appliances at the loopback address announce the mapped paths in the
// start-up discovery, so that their notices are heard.
TEST_F(TrayApp, RemovalDisconnectsOnlyTheFirstLetterOfThePathAndNamesIt) {
    m_net.disks = {{"\\\\NAS1\\usb", "127.0.0.1"}, {"\\\\NAS1\\other", "127.0.0.1"}};
    Connect("P:", "\\\\NAS1\\usb");
    Connect("Q:", "\\\\NAS1\\usb");
    Connect("R:", "\\\\NAS1\\other");
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        if (pDlg->GetTemplateID() == IDD_DRIVE_REMOVED && m_shown.size() == 1) {
            SaveArtifactScreenshot(pDlg->GetSafeHwnd(), "delete_network_drive");
        }
        Press(pDlg, IDOK);
    });
    Start();
    SendNotice(PKT_REMOVED, "\\\\NAS1\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 1 && !g_removedDlgActive; }));
    EXPECT_EQ(m_shown[0].path, "P:\\\\NAS1\\usb  has been removed.");
    std::vector<Connection> now = Connected();
    EXPECT_EQ(std::count(now.begin(), now.end(), Connection{"P:", "\\\\NAS1\\usb"}), 0);
    EXPECT_EQ(std::count(now.begin(), now.end(), Connection{"Q:", "\\\\NAS1\\usb"}), 1);
    EXPECT_EQ(std::count(now.begin(), now.end(), Connection{"R:", "\\\\NAS1\\other"}), 1);
    // Type 33 is handled the same; a path no longer mapped is skipped without a notice.
    SendNotice(PKT_EJECTED, "\\\\NAS1\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 2 && !g_removedDlgActive; }));
    EXPECT_EQ(m_shown[1].path, "Q:\\\\NAS1\\usb  has been removed.");
    SendNotice(PKT_REMOVED, "\\\\NAS1\\usb");
    Pump(300);
    EXPECT_TRUE(g_removedPaths.IsEmpty());
    EXPECT_FALSE(g_removedDlgActive);
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(TrayApp, EscOnTheRemovalNoticeGoesOnWithTheChainAsOkDoes) {
    MapTwoDisks();
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        if (m_shown.size() == 1) {
            SendNotice(PKT_REMOVED, "\\\\NAS2\\usb");
            EXPECT_TRUE(WaitUntil([] { return g_removedPaths.GetCount() == 2; }));
        }
        Press(pDlg, IDCANCEL);
    });
    Start();
    SendNotice(PKT_REMOVED, "\\\\NAS1\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 2 && !g_removedDlgActive; }));
    EXPECT_EQ(m_shown[1].path, "S:\\\\NAS2\\usb  has been removed.");
    EXPECT_TRUE(g_removedPaths.IsEmpty());
    EXPECT_TRUE(Connected().empty());
}

TEST_F(TrayApp, FailedDisconnectShowsItsMessageThenAnEmptyNotice) {
    MapTwoDisks();
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        if (m_shown.size() == 1) {
            SaveArtifactScreenshot(pDlg->GetSafeHwnd(), "delete_network_drive_failed");
        }
        Press(pDlg, IDOK);
    });
    Start();
    RunTool("fail NPCancelConnection 2401 1");
    SendNotice(PKT_REMOVED, "\\\\NAS1\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 1 && !g_removedDlgActive; }));
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "This network connection has files open or requests pending.");
    EXPECT_STREQ(m_boxes.Last().caption, "Warning");
    EXPECT_EQ(m_boxes.Last().Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(m_shown[0].path, "");
    // The chain goes on: the next removal is handled.
    RunTool("fail NPCancelConnection 1207 1");
    SendNotice(PKT_REMOVED, "\\\\NAS2\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 2 && !g_removedDlgActive; }));
    ASSERT_EQ(m_boxes.GetCount(), 2);
    EXPECT_STREQ(m_boxes.Last().text, "Unknown error code = 1207");
}

TEST_F(TrayApp, ARemovalNoticeIsHeardOnlyFromTheApplianceThatServesThePath) {
    const char* pc = std::getenv("ZT_PC_ADDR1");
    ASSERT_NE(pc, nullptr) << "needs the lab";
    const std::string other = pc;  // another host, as far as the utility can tell
    auto remembered = [](const char* local, const char* remote) {
        std::vector<Connection> listed = Listed(RESOURCE_REMEMBERED);
        return std::count(listed.begin(), listed.end(), Connection{local, remote}) == 1;
    };
    // Mapped before the utility started; the start-up discovery finds it served from the loopback address.
    m_net.disks = {{"\\\\NAS1\\usb", "127.0.0.1"}};
    Connect("P:", "\\\\NAS1\\usb");
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        Press(pDlg, IDOK);
    });
    Start();
    SendNotice(PKT_REMOVED, "\\\\NAS1\\usb", 256, other);
    SendNotice(PKT_EJECTED, "\\\\NAS1\\usb", 256, other);
    ASSERT_TRUE(WaitUntil([&] { return m_frame->GetForeignRemovals() == 2; }))
        << "last sender " << g_senderAddress << ", dialogs " << m_shown.size();
    EXPECT_TRUE(m_shown.empty());
    EXPECT_EQ(Connected(), (std::vector<Connection>{{"P:", "\\\\NAS1\\usb"}}));
    EXPECT_TRUE(remembered("P:", "\\\\NAS1\\usb"));
    // The appliance's own notice removes it.
    SendNotice(PKT_REMOVED, "\\\\NAS1\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 1 && !g_removedDlgActive; }));
    EXPECT_EQ(m_shown[0].path, "P:\\\\NAS1\\usb  has been removed.");
    EXPECT_FALSE(remembered("P:", "\\\\NAS1\\usb"));

    // A disk the utility maps itself: only the address that announced it speaks for it from then on.
    SendNotice(PKT_DISK_INFO, "\\\\NAS2\\usb", 256, other);
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 2 && !g_mapDlgActive; }));
    ASSERT_EQ(Connected().size(), 1u);
    const std::string letter = Connected()[0].local;
    SendNotice(PKT_REMOVED, "\\\\NAS2\\usb");
    ASSERT_TRUE(WaitUntil([&] { return m_frame->GetForeignRemovals() == 3; }));
    EXPECT_EQ(Connected(), (std::vector<Connection>{{letter, "\\\\NAS2\\usb"}}));
    SendNotice(PKT_REMOVED, "\\\\NAS2\\usb", 256, other);
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 3 && !g_removedDlgActive; }));
    EXPECT_EQ(m_shown[2].path, letter + "\\\\NAS2\\usb  has been removed.");
    EXPECT_TRUE(Connected().empty());
}

TEST_F(TrayApp, FailedConnectionShowsItsMessageAndTheNextPathGetsItsDialog) {
    m_net.disks = {{"\\\\NAS1\\usb", "198.18.1.10"}, {"\\\\NAS2\\usb", "198.18.1.11"}};
    RunTool("fail NPAddConnection3 1207 1");
    CModalHook hook([&](CDialog* pDlg) {
        m_shown.push_back(Inspect(pDlg));
        Press(pDlg, IDOK);
    });
    Start();
    ASSERT_TRUE(WaitUntil([&] { return m_shown.size() == 2 && !g_mapDlgActive; }));
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.GetAt(0).text, "Unknown error code = 1207");
    std::vector<Connection> now = Connected();
    ASSERT_EQ(now.size(), 1u);
    EXPECT_EQ(now[0].remote, "\\\\NAS2\\usb");
}

// Fills the tree with the discovery, then ejects the item named server.
class SafeRemove : public TrayApp {
protected:
    void Eject(const char* server) {
        m_net.disks = {{"\\\\NAS1\\usb", "198.18.1.10"},
                       {"", "198.18.1.11"},
                       {"\\\\NAS2\\usb", "198.18.2.12"},  // behind the PC's second interface
                       {"\\\\NAS3\\usb", "198.18.1.13"}};
        m_net.silent = {"198.18.1.13"};
        CModalHook hook([&](CDialog* pDlg) {
            if (pDlg->GetTemplateID() != IDD_SAFE_REMOVE) {
                Press(pDlg, IDCANCEL);
                return;
            }
            CTreeCtrl* tree = static_cast<CTreeCtrl*>(pDlg->GetDlgItem(IDC_DEVICE_TREE));
            for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h)) {
                m_items.emplace_back(tree->GetItemText(h).GetString());
            }
            for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h)) {
                if (tree->GetItemText(h) == server) {
                    tree->SelectItem(h);
                }
            }
            SaveArtifactScreenshot(pDlg->GetSafeHwnd(), "safely_remove_network_usb");
            Press(pDlg, IDC_EJECT);
            for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h)) {
                m_itemsAfter.emplace_back(tree->GetItemText(h).GetString());
            }
            // A second open from the tray while this one is open does nothing.
            ::SendMessageA(::FindWindowA(nullptr, "Pebblink Utility"), WM_COMMAND, ID_SAFELY_REMOVE, 0);
            Press(pDlg, IDCANCEL);
        });
        ::SendMessageA(m_frame->GetSafeHwnd(), WM_COMMAND, ID_SAFELY_REMOVE, 0);
    }

    std::vector<std::string> m_items, m_itemsAfter;
};

TEST_F(SafeRemove, EjectDisconnectsEveryLetterOfTheServerAndInformsOnce) {
    Start();
    Connect("G:", "\\\\NAS1\\usb");
    Connect("H:", "\\\\NAS1\\photos");
    Connect("I:", "\\\\NAS2\\usb");
    m_net.ejectReply.wType = PKT_EJECTED;
    int discoveriesBefore = m_net.discoveries;
    Eject("NAS1");
    EXPECT_EQ(m_net.discoveries, discoveriesBefore + 1);  // the second open did not run
    EXPECT_EQ(m_items, (std::vector<std::string>{"NAS1", "NAS2"}));
    EXPECT_EQ(m_net.ejects, (std::vector<std::string>{"NAS1 via 198.18.1.1 from 198.18.1.10"}));
    EXPECT_EQ(m_itemsAfter, (std::vector<std::string>{"NAS2"}));
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().caption, "Information");
    EXPECT_STREQ(m_boxes.Last().text, "The USB disk  NAS1  can now be safely removed from the system.");
    EXPECT_EQ(m_boxes.Last().Icon(), static_cast<UINT>(MB_ICONINFORMATION));
    std::vector<Connection> now = Connected();
    ASSERT_EQ(now.size(), 1u);
    EXPECT_EQ(now[0].local, "I:");
}

TEST_F(SafeRemove, WithNoApplianceTheTreeIsEmptyAndEjectSendsNothing) {
    Start();
    std::vector<std::string> items{"not read"};
    CModalHook hook([&](CDialog* pDlg) {
        CTreeCtrl* tree = static_cast<CTreeCtrl*>(pDlg->GetDlgItem(IDC_DEVICE_TREE));
        items.clear();
        for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h)) {
            items.emplace_back(tree->GetItemText(h).GetString());
        }
        Press(pDlg, IDC_EJECT);
        Press(pDlg, IDC_REFRESH);
        Press(pDlg, IDCANCEL);
    });
    ::SendMessageA(m_frame->GetSafeHwnd(), WM_COMMAND, ID_SAFELY_REMOVE, 0);
    EXPECT_TRUE(items.empty());
    EXPECT_TRUE(m_net.ejects.empty());
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(SafeRemove, InUseStatusWinsOverTheEjectedType) {
    Start();
    Connect("G:", "\\\\NAS1\\usb");
    m_net.ejectReply.wType = PKT_EJECTED;
    m_net.ejectReply.wStatus = STATUS_IN_USE;
    Eject("NAS1");
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().caption, "Warning");
    EXPECT_STREQ(m_boxes.Last().text, "The device is in use by an active process and cannot be disconnected.");
    EXPECT_EQ(m_itemsAfter, (std::vector<std::string>{"NAS1", "NAS2"}));
    EXPECT_EQ(Connected().size(), 1u);
}

TEST_F(SafeRemove, NoAnswerSaysDeviceNotExistsAndOtherRepliesNothing) {
    Start();
    m_net.ejectAnswers = false;
    Eject("NAS2");
    EXPECT_EQ(m_net.ejects, (std::vector<std::string>{"NAS2 via 198.18.2.1 from 198.18.2.12"}));
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Device not exists.");
    EXPECT_STREQ(m_boxes.Last().caption, "Warning");
    EXPECT_EQ(m_itemsAfter, (std::vector<std::string>{"NAS1", "NAS2"}));

    m_boxes.Clear();
    m_items.clear();
    m_itemsAfter.clear();
    m_net.ejectAnswers = true;
    m_net.ejectReply.wType = PKT_DISK_INFO;
    Eject("NAS2");
    EXPECT_EQ(m_boxes.GetCount(), 0);
    EXPECT_EQ(m_itemsAfter, (std::vector<std::string>{"NAS1", "NAS2"}));
}

TEST_F(SafeRemove, FailedDisconnectStopsAtTheFirstFailureWithoutInformation) {
    Start();
    Connect("G:", "\\\\NAS1\\usb");
    Connect("H:", "\\\\NAS1\\photos");
    m_net.ejectReply.wType = PKT_EJECTED;
    RunTool("fail NPCancelConnection 2401 1");
    Eject("NAS1");
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "This network connection has files open or requests pending.");
    EXPECT_EQ(m_itemsAfter, (std::vector<std::string>{"NAS2"}));
    EXPECT_EQ(Connected().size(), 2u);
}

TEST(TrayIcon, RecordOfThisBuild) {
    CTrayIcon icon(IDR_MAINFRAME);
    EXPECT_EQ(icon.GetData().cbSize, 504u);  // the version-2 layout, 488 bytes in a 32-bit build
    EXPECT_EQ(icon.GetData().uID, static_cast<UINT>(IDR_MAINFRAME));
    EXPECT_EQ(icon.GetData().szTip[0], '\0');
    // A tip longer than the field is cut so that it stays terminated.
    std::string longTip(300, 'x');
    icon.UpdateIcon(::LoadIconA(nullptr, IDI_APPLICATION), longTip.c_str());
    EXPECT_EQ(std::strlen(icon.GetData().szTip), 127u);
    icon.UpdateIcon(nullptr, nullptr);
    EXPECT_FALSE(icon.IsShown());
}

TEST_F(TrayApp, IconIsAddedAgainWhenTheTaskbarIsCreated) {
    Start();
    ASSERT_TRUE(m_frame->GetTrayIcon().IsShown());
    EXPECT_STREQ(m_frame->GetTrayIcon().GetData().szTip, "Drivelet Utility");
    EXPECT_EQ(m_frame->GetTrayIcon().GetData().uCallbackMessage, WM_TRAYNOTIFY);
    // The icon as the old taskbar knew it is gone; the broadcast brings it back.
    NOTIFYICONDATAA gone = m_frame->GetTrayIcon().GetData();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    ::SendMessageA(m_frame->GetSafeHwnd(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(m_frame->GetTrayIcon().IsShown());
    NOTIFYICONDATAA again = m_frame->GetTrayIcon().GetData();
    again.uFlags = NIF_TIP;
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &again));  // it exists again
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &again));  // and the check can fail
    ::SendMessageA(m_frame->GetSafeHwnd(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
}

TEST_F(TrayApp, SingleClickOrAnotherIconDoesNothingAndDoubleClickMapsLikeMapDrive) {
    Start();
    const int before = m_net.discoveries;
    // A left single click or another icon id does nothing.
    EXPECT_EQ(::SendMessageA(m_frame->GetSafeHwnd(), WM_TRAYNOTIFY, IDR_MAINFRAME, WM_LBUTTONUP), 0);
    EXPECT_EQ(::SendMessageA(m_frame->GetSafeHwnd(), WM_TRAYNOTIFY, 7, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(m_net.discoveries, before);
    EXPECT_EQ(::SendMessageA(m_frame->GetSafeHwnd(), WM_TRAYNOTIFY, IDR_MAINFRAME, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(m_net.discoveries, before + 1);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; i++) {
        if (std::strncmp(argv[i], "--ztnpreg=", 10) == 0) {
            g_ztnpreg = std::string("Z:") + (argv[i] + 10);
            std::replace(g_ztnpreg.begin(), g_ztnpreg.end(), '/', '\\');
        }
    }
    CWinApp app("Pebblink");
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW);
    WSADATA data;
    WSAStartup(0x0101, &data);
    CreateQueueLocks();
    return RUN_ALL_TESTS();
}
