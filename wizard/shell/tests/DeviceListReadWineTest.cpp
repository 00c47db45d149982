// The device list page's own read of the selected appliance, in the wizard window under Wine, against the
// appliance simulator in the lab and on a virtual clock: where each request went (from the simulators'
// logs), when, how many rounds, and what the page shows.
//   lab: --pc-ifaces 2; NAS1 on a1 (198.18.1.10, the first interface's subnet), NAS2 on a2 (198.18.2.10,
//   found through the second interface), NAS9 on "off" (198.18.9.10 on segment 1, on no subnet of the PC);
//   control channels on TCP 7000. OneAddress.*: a PC with one interface and NAS1 only.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../../link/ChannelTable.h"
#include "../../link/PacketCatalogue.h"
#include "../../link/TimeZones.h"
#include "../../ops/OperationDlg.h"
#include "../../ops/tests/LabSupport.h"
#include "../../res/resource.h"
#include "../DeviceListPage.h"
#include "../WizardDlg.h"
#include "../WizardState.h"
#include "Framework.h"
#include "MessageBoxRecorder.h"
#include "VirtualClock.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

const char BROADCAST[] = "255.255.255.255:915";
const uint8_t NAS1_MAC[6] = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x01};

std::string Env(const char* name) {
    const char* v = getenv(name);
    return v ? v : "";
}

std::string PeerAddress(const SimDatagram& d) {
    return d.peer.substr(0, d.peer.find(':'));
}

// One simulator: its log and the requests that reached it since Mark().
class CSim {
public:
    CSim(const char* pszName, const char* pszHostVariable) : m_log(SimLogPath(pszName)), m_host(Env(pszHostVariable)) {}
    std::string Control(const std::string& command) const { return SimControl(m_host, 7000, command); }
    void Mark() {
        m_nRequests = m_log.Requests().size();
        m_nReplies = m_log.Replies().size();
    }
    std::vector<SimDatagram> Requests() const {
        std::vector<SimDatagram> v = m_log.Requests();
        return std::vector<SimDatagram>(v.begin() + static_cast<long>(m_nRequests), v.end());
    }
    size_t Replies() const { return m_log.Replies().size() - m_nReplies; }
    // Waits (real time) until nCount requests arrived since Mark(), then a little longer for any extra.
    size_t Settle(size_t nCount) const {
        m_log.WaitForRequests(m_nRequests + nCount);
        PumpFor(150);
        return Requests().size();
    }
    const std::string& Host() const { return m_host; }

private:
    CSimLog m_log;
    std::string m_host;
    size_t m_nRequests = 0, m_nReplies = 0;
};

class DeviceRead : public testing::Test {
protected:
    void SetUp() override {
        for (CSim* sim : Sims()) ASSERT_EQ(sim->Control("fault * none").substr(0, 2), "OK");
        g_settingsRead = g_passwordPassed = g_redoSearch = false;
        interfaceWalk = true;
        nextBindIndex = 0;
        deviceInterfaceIndex = 0;
        g_nDeviceReadAttempt = 1;
    }

    // The wizard with the device list page: its first search runs (its dialog driven to the end on the
    // virtual clock), then body acts on the page with the three appliances listed (faults that would
    // spoil the search are set there).
    void Run(std::function<void(CDeviceListPage&)> body) {
        CWizardDlg dlg;
        CDeviceListPage page;
        dlg.AddPage(&page, IDD_DEVICE_LIST);
        CModalHook hook([&](CDialog* pDlg) {
            if (pDlg != &dlg) {
                PumpFor(300);  // the answers to the first broadcast
                while (pDlg->ContinueModal()) {
                    m_clock.Advance(2000);
                    PumpFor(50);
                }
                return;
            }
            AfxPumpPendingMessages();  // the posted first search
            EXPECT_EQ(Tree(page)->GetCount(), Sims().size()) << "every simulated appliance listed";
            // The search gives the tree the focus, which selects its first item, and so reads NAS1.
            PumpFor(300);
            EXPECT_STREQ(Tree(page)->GetItemText(Tree(page)->GetSelectedItem()), "NAS1");
            EXPECT_TRUE(g_settingsRead);
            EXPECT_FALSE(Retrying(page));
            // Each case starts from no selection, which asks nothing.
            Tree(page)->SelectItem(nullptr);
            EXPECT_FALSE(g_settingsRead);
            PumpFor(100);
            for (CSim* sim : Sims()) sim->Mark();
            m_boxes.Clear();
            if (!HasFatalFailure()) body(page);
            if (dlg.ContinueModal()) dlg.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
    }

    static CTreeCtrl* Tree(CDeviceListPage& page) { return static_cast<CTreeCtrl*>(page.GetDlgItem(IDC_DEVICE_TREE)); }
    static CListCtrl* Values(CDeviceListPage& page) {
        return static_cast<CListCtrl*>(page.GetDlgItem(IDC_DEVICE_VALUES));
    }
    static std::vector<std::string> ValueColumn(CDeviceListPage& page) {
        std::vector<std::string> values;
        CListCtrl* pList = Values(page);
        for (int i = 0; i < pList->GetItemCount(); ++i) values.push_back(static_cast<LPCSTR>(pList->GetItemText(i, 1)));
        return values;
    }
    // Selects the appliance's tree item as a click does; the read starts at this virtual instant.
    void Select(CDeviceListPage& page, const char* pszName) {
        CTreeCtrl* pTree = Tree(page);
        HTREEITEM hFound = nullptr;
        for (HTREEITEM h = pTree->GetRootItem(); h; h = pTree->GetNextSiblingItem(h))
            if (pTree->GetItemText(h) == pszName) hFound = h;
        ASSERT_NE(hFound, nullptr) << pszName;
        m_dwStart = m_clock.Now();
        pTree->SelectItem(hFound);
    }
    // Moves to dwAt ms after the selection.
    void At(DWORD dwAt) {
        if (m_clock.Now() < m_dwStart + dwAt) m_clock.Advance(m_dwStart + dwAt - m_clock.Now());
    }
    bool Retrying(CDeviceListPage& page) const { return m_clock.IsTimerSet(page.m_hWnd, TIMER_RETRY) != FALSE; }

    // Walks a silent read through its whole schedule: at each step the number of requests that reached sim.
    void ExpectCounts(CDeviceListPage& page, CSim& sim, const std::vector<std::pair<DWORD, size_t>>& steps) {
        for (const auto& step : steps) {
            At(step.first);
            EXPECT_EQ(sim.Settle(step.second), step.second) << "at " << step.first << " ms";
            EXPECT_EQ(Retrying(page), step.first < 16000) << "at " << step.first << " ms";
        }
    }

    CVirtualClock m_clock;
    CMessageBoxRecorder m_boxes;
    // The simulators of this lab (the one-address lab has a1 only).
    std::vector<CSim*> Sims() {
        std::vector<CSim*> sims;
        for (CSim* sim : {&m_a1, &m_a2, &m_off})
            if (!sim->Host().empty()) sims.push_back(sim);
        return sims;
    }

    CSim m_a1{"a1", "ZT_HOST_A1"}, m_a2{"a2", "ZT_HOST_A2"}, m_off{"off", "ZT_HOST_OFF"};
    DWORD m_dwStart = 0;
};

class OneAddress : public DeviceRead {};

// The full silent schedule with two local addresses: three resends a round, one round per address.
const std::vector<std::pair<DWORD, size_t>> kTwoRounds = {{0, 1},     {2000, 2},  {4000, 3},  {6000, 4},  {8000, 4},
                                                          {10000, 5}, {12000, 6}, {14000, 7}, {16000, 7}, {30000, 7}};

}  // namespace

TEST_F(DeviceRead, OnTheSubnetEveryRequestGoesToTheApplianceForTwoRoundsAndGivesUpSilently) {
    ASSERT_EQ(localAddressCount, 2);
    // It answers, but with a stale number: the page ignores every reply.
    Run([&](CDeviceListPage& page) {
        ASSERT_EQ(m_a1.Control("fault NAS1 stale-seq").substr(0, 2), "OK");
        Select(page, "NAS1");
        EXPECT_TRUE(Retrying(page));
        ExpectCounts(page, m_a1, kTwoRounds);
        EXPECT_EQ(m_clock.Now() - m_dwStart, 30000u);
        EXPECT_GE(m_a1.Replies(), 7u) << "the appliance did answer";
        EXPECT_EQ(page.OnWizardNext(), 1) << "nothing read: Next stays";
        std::vector<std::string> values = ValueColumn(page);
        for (const std::string& v : values) EXPECT_EQ(v, "");
    });
    std::vector<SimDatagram> sent = m_a1.Requests();
    ASSERT_EQ(sent.size(), 7u);
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].local, m_a1.Host() + ":915") << i;
        EXPECT_EQ(sent[i].nType, PKT_GET_INFO);
        EXPECT_EQ(sent[i].nSequence, sent[0].nSequence) << "the same bytes every time";
        EXPECT_EQ(sent[i].hex, sent[0].hex);
    }
    // The other host of the segment heard none of them.
    for (const SimDatagram& d : m_off.Requests()) EXPECT_NE(d.nSequence, sent[0].nSequence);
    EXPECT_FALSE(interfaceWalk);
    EXPECT_FALSE(g_settingsRead);
    EXPECT_EQ(g_nDeviceReadAttempt, 1);
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(DeviceRead, AnAnswerToTheThirdRequestShowsTheSevenValuesAndStopsTheRetries) {
    Run([&](CDeviceListPage& page) {
        ASSERT_EQ(m_a1.Control("fault NAS1 drop-first=2").substr(0, 2), "OK");
        Select(page, "NAS1");
        for (DWORD dwAt : {0u, 2000u}) {
            At(dwAt);
            m_a1.Settle(dwAt / 2000 + 1);
            EXPECT_FALSE(g_settingsRead) << dwAt;
        }
        At(4000);
        EXPECT_EQ(m_a1.Settle(3), 3u);
        PumpFor(200);  // the answer to the third request
        EXPECT_FALSE(Retrying(page));
        EXPECT_TRUE(g_settingsRead);
        EXPECT_EQ(ValueColumn(page), (std::vector<std::string>{"NAS1", "198.18.1.10", "255.255.255.0", "198.18.1.1",
                                                               TimeZoneDisplayName(22), "12/08/2026", "23:15:00"}));
        EXPECT_STREQ(g_settings.szServerName, "NAS1");
        EXPECT_EQ(memcmp(g_settings.abMac, NAS1_MAC, 6), 0);
        At(12000);
        EXPECT_EQ(m_a1.Settle(3), 3u) << "nothing more after the answer";
        EXPECT_EQ(page.OnWizardNext(), 0) << "no password: on to the IP settings";
        ASSERT_NE(g_selectedDevice, nullptr);
        EXPECT_EQ(Dotted(g_selectedDevice->dwAddress), m_a1.Host());
    });
    std::vector<SimDatagram> sent = m_a1.Requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].local, m_a1.Host() + ":915");
    EXPECT_EQ(m_a1.Replies(), 1u);
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(DeviceRead, OffEverySubnetTheFirstRequestIsABroadcastThenUnicastAlternates) {
    Run([&](CDeviceListPage& page) {
        ASSERT_EQ(m_off.Control("fault NAS9 silent").substr(0, 2), "OK");
        interfaceWalk = false;  // as after the search; the read sets it again
        Select(page, "NAS9");
        EXPECT_TRUE(interfaceWalk) << "set for the broadcast off the subnet";
        ExpectCounts(page, m_off, kTwoRounds);
        EXPECT_FALSE(g_settingsRead) << "NAS1 answered the broadcasts, with its own MAC";
        EXPECT_GE(m_a1.Replies(), 2u);
    });
    std::vector<SimDatagram> sent = m_off.Requests();
    ASSERT_EQ(sent.size(), 7u);
    const std::string unicast = m_off.Host() + ":915";
    const char* expected[7] = {BROADCAST,       unicast.c_str(), BROADCAST,      unicast.c_str(),
                               unicast.c_str(), BROADCAST,       unicast.c_str()};
    for (size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i].local, expected[i]) << i;
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(DeviceRead, AnApplianceOfTheSecondInterfaceIsReachedByTheSecondRoundsBroadcast) {
    // Only the first interface's subnet counts for the unicast test, so NAS2 is asked by broadcast first;
    // with the walk on, the page's unbound socket sends its broadcasts through the first interface. The
    // second round's broadcast leaves through the interface NAS2 was found on, and only that one reaches it.
    Run([&](CDeviceListPage& page) {
        ASSERT_EQ(m_a2.Control("fault NAS2 ignore=unicast").substr(0, 2), "OK");
        Select(page, "NAS2");
        EXPECT_EQ(deviceInterfaceIndex, 1);
        const std::vector<std::pair<DWORD, size_t>> steps = {{0, 0},    {2000, 1},  {4000, 1}, {6000, 2},
                                                             {8000, 2}, {10000, 3}, {12000, 4}};
        for (const auto& step : steps) {
            At(step.first);
            EXPECT_EQ(m_a2.Settle(step.second), step.second) << "at " << step.first << " ms";
            if (step.first < 12000) {
                EXPECT_FALSE(g_settingsRead) << "at " << step.first << " ms";
            }
        }
        PumpFor(200);  // the answer to the broadcast at 12 s
        EXPECT_TRUE(g_settingsRead);
        EXPECT_FALSE(Retrying(page));
        std::vector<std::string> values = ValueColumn(page);
        ASSERT_EQ(values.size(), 7u);
        EXPECT_EQ(values[0], "NAS2");
        EXPECT_EQ(values[1], m_a2.Host());
        EXPECT_EQ(values[3], "198.18.2.1");
    });
    std::vector<SimDatagram> sent = m_a2.Requests();
    ASSERT_EQ(sent.size(), 4u);
    for (size_t i : {0u, 1u, 2u}) EXPECT_EQ(sent[i].local, m_a2.Host() + ":915") << i;
    EXPECT_EQ(sent[3].local, BROADCAST);
    EXPECT_EQ(PeerAddress(sent[3]), Dotted(localAddresses[1]));
    // The first round's two broadcasts went out on segment 1.
    size_t nOnSegment1 = 0;
    for (const SimDatagram& d : m_a1.Requests())
        if (d.local == BROADCAST && d.nSequence == sent[0].nSequence) ++nOnSegment1;
    EXPECT_EQ(nOnSegment1, 2u);
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(DeviceRead, AReplyOfAnotherTypeIsIgnoredAndOneWithoutInfoTextShowsNothing) {
    Run([&](CDeviceListPage& page) {
        ASSERT_EQ(m_a1.Control("fault NAS1 wrong-type").substr(0, 2), "OK");
        Select(page, "NAS1");
        At(2000);
        EXPECT_EQ(m_a1.Settle(2), 2u);
        EXPECT_EQ(m_a1.Replies(), 2u);
        EXPECT_TRUE(Retrying(page)) << "the replies of type 17 were not taken";
        EXPECT_FALSE(g_settingsRead);

        // Answered, but without an info text: the rows are there, their values empty, Next refused.
        ASSERT_EQ(m_a1.Control("fault NAS1 none").substr(0, 2), "OK");
        ASSERT_EQ(m_a1.Control("set NAS1 info").substr(0, 2), "OK");
        At(4000);
        EXPECT_EQ(m_a1.Settle(3), 3u);
        PumpFor(200);
        EXPECT_FALSE(Retrying(page)) << "the reply was accepted";
        EXPECT_FALSE(g_settingsRead);
        EXPECT_EQ(ValueColumn(page), std::vector<std::string>(7, ""));
        EXPECT_EQ(Values(page)->GetItemText(0, 0), "Server Name");
        EXPECT_EQ(page.OnWizardNext(), 1);
        ASSERT_EQ(m_a1.Control("set NAS1 info ZT-2000 sim").substr(0, 2), "OK");
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(DeviceRead, WithoutAnAddressEveryRequestIsABroadcastAndTheAnswerGivesTheAddress) {
    Run([&](CDeviceListPage& page) {
        ASSERT_EQ(m_a1.Control("fault NAS1 drop-first=6").substr(0, 2), "OK");
        // The same appliance handed in again without an address: the entry loses its address.
        DeviceInfo info{};
        memcpy(info.settings.abMac, NAS1_MAC, 6);
        strcpy(info.settings.szServerName, "NAS1");
        page.AddDevice(info, -1);  // an update keeps the interface of the first answer
        EXPECT_EQ(Tree(page)->GetCount(), 3u) << "an update, not a new item";
        Select(page, "NAS1");
        ExpectCounts(page, m_a1, {{0, 1}, {2000, 2}, {4000, 3}, {6000, 4}, {8000, 4}, {10000, 5}, {12000, 6}});
        At(14000);
        EXPECT_EQ(m_a1.Settle(7), 7u);
        PumpFor(200);
        EXPECT_TRUE(g_settingsRead) << "the seventh request was answered";
        ASSERT_NE(page.GetSelectedEntry(), nullptr);
        EXPECT_EQ(Dotted(page.GetSelectedEntry()->dwAddress), m_a1.Host());
    });
    for (const SimDatagram& d : m_a1.Requests()) EXPECT_EQ(d.local, BROADCAST);
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(OneAddress, ThePcWithOneAddressGivesTheReadOneRoundOnly) {
    ASSERT_EQ(localAddressCount, 1);
    Run([&](CDeviceListPage& page) {
        ASSERT_EQ(m_a1.Control("fault NAS1 silent").substr(0, 2), "OK");
        Select(page, "NAS1");
        for (const auto& step : std::vector<std::pair<DWORD, size_t>>{{0, 1}, {2000, 2}, {4000, 3}, {6000, 4}}) {
            At(step.first);
            EXPECT_EQ(m_a1.Settle(step.second), step.second) << "at " << step.first << " ms";
            EXPECT_TRUE(Retrying(page)) << "at " << step.first << " ms";
        }
        At(8000);
        EXPECT_FALSE(Retrying(page)) << "given up without a second round";
        At(20000);
        EXPECT_EQ(m_a1.Settle(4), 4u);
        EXPECT_EQ(g_nDeviceReadAttempt, 1);
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}
