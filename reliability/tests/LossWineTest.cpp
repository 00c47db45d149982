// Loss and duplication: the whole configuration road of the wizard (search, read of the chosen appliance,
// password check, write) against three simulated appliances that drop a share of the requests and of the
// replies, or answer everything twice, with several seeds per rate. Every flow must complete or end the
// way the wizard ends it without an answer; no appliance may be listed twice, and the record that reached
// the simulator must be the edited one byte for byte, or the old one when nothing was stored.
//   lab: --host a1=1,count=3, NAS1 (password "secret") .10, NAS2 .11, NAS3 .12; control on TCP 7000
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "RecordModel.h"
#include "WizardDriver.h"
#include "../../wizard/ops/OperationDlg.h"
#include "../../wizard/res/resource.h"
#include "../../wizard/shell/WizardState.h"

namespace {

const uint8_t NAS1_MAC[6] = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x01};
const char kNoResponse[] = "Device no response";

struct Tally {
    std::string label;
    int nTrials = 0;
    int nListed = 0, nListedOf = 0, nDuplicates = 0, nNotListed = 0;
    int nReadOk = 0, nReadGaveUp = 0;
    int nPasswordOk = 0, nPasswordNoResponse = 0;
    int nSaved = 0, nFailedNothingStored = 0, nFailedButStored = 0, nCorrupted = 0;
};

std::vector<Tally> g_tallies;

class TablePrinter : public ::testing::Environment {
public:
    void TearDown() override {
        if (g_tallies.empty()) return;
        printf("\n%-22s %6s %7s %5s %8s %8s %9s %6s %8s %6s %11s %11s %9s\n", "faults", "trials", "listed", "dups",
               "no NAS1", "read ok", "read none", "pw ok", "pw none", "saved", "failed/old", "failed/new", "corrupted");
        for (const Tally& t : g_tallies) {
            char listed[32];
            snprintf(listed, sizeof listed, "%d/%d", t.nListed, t.nListedOf);
            printf("%-22s %6d %7s %5d %8d %8d %9d %6d %8d %6d %11d %11d %9d\n", t.label.c_str(), t.nTrials, listed,
                   t.nDuplicates, t.nNotListed, t.nReadOk, t.nReadGaveUp, t.nPasswordOk, t.nPasswordNoResponse,
                   t.nSaved, t.nFailedNothingStored, t.nFailedButStored, t.nCorrupted);
        }
        printf(
            "listed: appliances in the tree after the search, of all; no NAS1: the chosen one not among them;\n"
            "read none: no answer, the page gave up without a message and Next stayed;\n"
            "pw none: \"%s\"; failed/old: failure notice, the old record kept; failed/new: failure notice,\n"
            "the edited record stored (its answer was lost)\n",
            kNoResponse);
        fflush(stdout);
    }
};
const auto* const g_printer = ::testing::AddGlobalTestEnvironment(new TablePrinter);

class Loss : public ::testing::Test {
protected:
    void SetUp() override {
        m_a1 = LabEnv("ZT_HOST_A1");
        m_log = CSimLog(SimLogPath("a1"));
        const uint32_t dwA1 = Addr(m_a1);
        memcpy(m_abA1, &dwA1, 4);
        ASSERT_EQ(Control("fault * none"), "OK 3 appliance(s)");
    }
    void TearDown() override { Control("fault * none"); }

    std::string Control(const std::string& command) { return SimControl(m_a1, 7000, command); }
    DeviceSettings StoredRecord() {
        DeviceSettings s{};
        std::string reply = Control("record NAS1");
        EXPECT_EQ(reply.substr(0, 3), "OK ");
        EXPECT_TRUE(ParseRecordHex(reply.size() > 3 ? reply.substr(3) : "", s));
        return s;
    }

    // One user on the whole road; counts what each flow came to and checks that it is an allowed end.
    void Trial(Tally& t, int nTrial, bool bMustComplete);
    // Applies the faults for NAS1 from the next step on (nothing when empty).
    void StepFaults(const std::string& faults) {
        if (!faults.empty()) {
            EXPECT_EQ(Control("fault NAS1 " + faults), "OK 1 appliance(s)");
        }
    }
    void RunRate(const char* pszLabel, const std::string& faults, bool bMustComplete);

    std::string m_a1;
    uint8_t m_abA1[4] = {};
    // Faults of NAS1 for the password check and for the write, set when the road reaches them.
    std::string m_passwordFaults, m_writeFaults;
    CSimLog m_log;
};

void Loss::Trial(Tally& t, int nTrial, bool bMustComplete) {
    const DeviceSettings before = StoredRecord();
    CWizardDriver d(m_log);
    ++t.nTrials;
    d.Run([&] {
        d.StartAndSearch();
        ASSERT_EQ(d.m_nSearches, 1);
        EXPECT_EQ(d.m_boxes.GetCount(), 0);

        // No appliance twice: one entry per MAC, one tree item per entry, only the lab's appliances.
        CDeviceList& devices = d.m_list.GetDevices();
        const std::vector<std::string> names = d.TreeNames();
        EXPECT_EQ(names.size(), devices.GetCount());
        std::set<std::string> macs, unique(names.begin(), names.end());
        for (size_t i = 0; i < devices.GetCount(); ++i)
            macs.insert(std::string(reinterpret_cast<const char*>(devices.GetAt(i)->abMac), 6));
        EXPECT_EQ(macs.size(), devices.GetCount());
        EXPECT_EQ(unique.size(), names.size());
        for (const std::string& name : names) EXPECT_TRUE(name == "NAS1" || name == "NAS2" || name == "NAS3") << name;
        t.nListed += static_cast<int>(names.size());
        t.nListedOf += 3;
        t.nDuplicates += static_cast<int>(names.size() - unique.size() + devices.GetCount() - macs.size());
        if (bMustComplete) {
            EXPECT_EQ(names.size(), 3u);
        }

        // The read of the chosen appliance: its record, or a silent give-up after which Next stays.
        if (!d.SelectAndRead("NAS1")) {
            ++t.nNotListed;
            return;
        }
        if (g_settingsRead) {
            ++t.nReadOk;
            const DeviceSettings expected = ExpectedAfterRead(before, m_abA1);
            EXPECT_EQ(DifferingOffsets(g_settings, expected), "none");
            EXPECT_EQ(d.ShownValues().substr(0, 5), "NAS1|");
        } else {
            ++t.nReadGaveUp;
            EXPECT_FALSE(bMustComplete) << "read not answered";
            EXPECT_FALSE(d.m_clock.IsTimerSet(d.m_list.m_hWnd, TIMER_RETRY)) << "neither answered nor given up";
            EXPECT_EQ(d.ShownValues().find_first_not_of('|'), std::string::npos) << d.ShownValues();
            const size_t nSent = m_log.Requests().size();
            d.ClickNext();
            PumpFor(100);
            EXPECT_EQ(d.ActivePage(), &d.m_list);
            EXPECT_EQ(m_log.Requests().size(), nSent) << "Next without settings asked for the password";
            EXPECT_EQ(d.m_boxes.GetCount(), 0);
            return;
        }

        // The password check: accepted, or "Device no response" once.
        StepFaults(m_passwordFaults);
        d.ClickNext();
        if (d.ActivePage() == &d.m_ip) {
            ++t.nPasswordOk;
            EXPECT_EQ(d.m_boxes.GetCount(), 0);
        } else {
            EXPECT_EQ(d.ActivePage(), &d.m_list);
            ASSERT_EQ(d.m_boxes.GetCount(), 1);
            EXPECT_STREQ(d.m_boxes.Last().text, kNoResponse);
            EXPECT_FALSE(bMustComplete) << "password not answered";
            ++t.nPasswordNoResponse;
            return;
        }

        // A new server name, then the write: saved and stored exactly, or failed with the old record kept
        // or the edited one stored.
        d.ClickNext();
        ASSERT_EQ(d.ActivePage(), &d.m_server);
        char szName[16];
        snprintf(szName, sizeof szName, "NAS1-T%d", nTrial);
        Retype(d.Item(d.m_server, IDC_SERVER_NAME), szName);
        d.ClickNext();
        ASSERT_EQ(d.ActivePage(), &d.m_summary);
        DeviceSettings sent = g_settings;
        memcpy(sent.abMac, NAS1_MAC, 6);
        EXPECT_STREQ(sent.szServerName, szName);
        const int nBoxes = d.m_boxes.GetCount();
        StepFaults(m_writeFaults);
        d.Save();
        const DeviceSettings after = StoredRecord();
        EXPECT_EQ(d.m_boxes.GetCount(), nBoxes) << "a write without an answer shows no message of its own";
        if (d.m_nNoticeKind == 2) {
            ++t.nSaved;
            EXPECT_EQ(DifferingOffsets(after, sent), "none");
            EXPECT_EQ(d.ActivePage(), &d.m_finish);
            if (DifferingOffsets(after, sent) != "none") ++t.nCorrupted;
        } else {
            EXPECT_EQ(d.m_nNoticeKind, 3);
            EXPECT_FALSE(bMustComplete) << "write not answered";
            if (DifferingOffsets(after, before) == "none") {
                ++t.nFailedNothingStored;
            } else if (DifferingOffsets(after, sent) == "none") {
                ++t.nFailedButStored;
            } else {
                ++t.nCorrupted;
                ADD_FAILURE() << "stored record differs from both at " << DifferingOffsets(after, sent);
            }
        }
    });
    Control("record NAS1 " + RecordHex(before));
}

void Loss::RunRate(const char* pszLabel, const std::string& faults, bool bMustComplete) {
    Tally t;
    t.label = pszLabel;
    m_passwordFaults.clear();
    m_writeFaults.clear();
    int nTrial = 0;
    for (const char* seed : {"11", "22", "33"}) {
        ASSERT_EQ(Control(std::string("seed ") + seed), "OK");
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(Control("fault * " + faults), "OK 3 appliance(s)");
            Trial(t, ++nTrial, bMustComplete);
        }
    }
    EXPECT_EQ(t.nCorrupted, 0);
    EXPECT_EQ(t.nDuplicates, 0);
    g_tallies.push_back(t);
}

}  // namespace

TEST_F(Loss, AnswersTwiceEveryFlowCompletesOnce) {
    RunRate("twice", "twice", true);
}

TEST_F(Loss, TenPercentOfDatagramsDropped) {
    RunRate("drop 10 %", "drop-requests=10 drop-replies=10", false);
}

TEST_F(Loss, ThirtyPercentOfDatagramsDropped) {
    RunRate("drop 30 %", "drop-requests=30 drop-replies=30", false);
}

TEST_F(Loss, FiftyPercentOfDatagramsDropped) {
    RunRate("drop 50 %", "drop-requests=50 drop-replies=50", false);
}

TEST_F(Loss, ThirtyPercentDroppedAndTheRestTwice) {
    RunRate("drop 30 % + twice", "drop-requests=30 drop-replies=30 twice", false);
}

// The ends without an answer, each made certain: the password check, a write never received, and a write
// stored whose every answer was lost (the wizard cannot tell it from the one before).
TEST_F(Loss, EveryStepWithoutAnAnswerEndsAsTheWizardEndsIt) {
    struct Case {
        const char* pszLabel;
        const char* pszPasswordFaults;
        const char* pszWriteFaults;
    };
    for (const Case& c :
         {Case{"password unanswered", "drop-replies=100", ""}, Case{"write not received", "", "drop-requests=100"},
          Case{"write answers lost", "", "drop-replies=100"}}) {
        Tally t;
        t.label = c.pszLabel;
        m_passwordFaults = c.pszPasswordFaults;
        m_writeFaults = c.pszWriteFaults;
        for (int i = 0; i < 2; ++i) {
            ASSERT_EQ(Control("fault * none"), "OK 3 appliance(s)");
            Trial(t, 100 + i, false);
        }
        EXPECT_EQ(t.nReadOk, 2) << c.pszLabel;
        if (*c.pszPasswordFaults) {
            EXPECT_EQ(t.nPasswordNoResponse, 2);
        } else {
            EXPECT_EQ(t.nPasswordOk, 2);
            EXPECT_EQ(strcmp(c.pszWriteFaults, "drop-requests=100") == 0 ? t.nFailedNothingStored : t.nFailedButStored,
                      2)
                << c.pszLabel;
        }
        EXPECT_EQ(t.nCorrupted, 0);
        g_tallies.push_back(t);
    }
}
