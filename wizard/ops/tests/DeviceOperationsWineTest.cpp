// The operation dialog and the password dialog under Wine, against the appliance simulator in the lab, on
// a virtual clock: every schedule is checked in what reached the simulators, step by step.
//   Search.*  lab: --pc-ifaces 2, NAS1 on a1 (segment 1) and the same MAC on a2 (segment 2)
//   Device.*  lab: NAS1 on a1 (198.18.1.10, the host also owns .11), NAS9 on "off" (198.18.9.10, outside
//             the PC's subnet, on segment 1); control channels on TCP 7000
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Framework.h"
#include "FreedBlocks.h"
#include "LabSupport.h"
#include "MessageBoxRecorder.h"
#include "VirtualClock.h"
#include "../OperationDlg.h"
#include "../PasswordDlg.h"
#include "../../link/ChannelTable.h"
#include "../../link/DeviceList.h"
#include "../../link/PacketCatalogue.h"
#include "../../res/resource.h"

namespace {

// Freed heap blocks are searched for the typed password: none may carry it away.
const char kPassword[] = "Pw-7Kq2";

const char* const BROADCAST = "255.255.255.255:915";
const uint8_t NAS1_MAC[6] = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x01};
const uint8_t NAS9_MAC[6] = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x09};

std::string Env(const char* name) {
    const char* v = getenv(name);
    return v ? v : "";
}

DeviceEntry MakeEntry(const uint8_t (&mac)[6], const char* name, const char* address) {
    DeviceEntry e{};
    memcpy(e.abMac, mac, 6);
    strncpy(e.szServerName, name, sizeof e.szServerName - 1);
    e.dwAddress = Addr(address);
    e.nInterfaceIndex = 0;
    return e;
}

void Click(CDialog* pDlg, int nID) {
    pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(pDlg->GetDlgItem(nID)->m_hWnd));
}

// Types the password into the dialog and presses OK.
void EnterPassword(CDialog* pDlg, const char* password) {
    pDlg->SetDlgItemText(IDC_PASSWORD_EDIT, password);
    Click(pDlg, IDC_PASSWORD_OK);
}

// The requests that reached a simulator after the first nBase.
std::vector<SimDatagram> RequestsAfter(const CSimLog& log, size_t nBase) {
    std::vector<SimDatagram> v = log.Requests();
    return std::vector<SimDatagram>(v.begin() + static_cast<long>(nBase), v.end());
}

// The page's part: the transaction counter and the list of what a search found.
class CListHost : public COperationHost {
public:
    uint16_t NextSequence() override { return m_wSequence = NextSequenceValue(m_wSequence); }
    void AddDevice(const DeviceInfo& info, int nInterfaceIndex) override {
        bool bCreated;
        m_devices.Add(info, nInterfaceIndex, &bCreated);
    }
    CDeviceList& GetDevices() { return m_devices; }

private:
    uint16_t m_wSequence = 0;
    CDeviceList m_devices;
};

class LabTest : public ::testing::Test {
protected:
    void SetUp() override {
        interfaceWalk = true;
        nextBindIndex = 0;
        deviceInterfaceIndex = 0;
    }

    CListHost m_host;
    CMessageBoxRecorder m_boxes;
};

// ---- Search ----------------------------------------------------------------------------------------------

class Search : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        m_seg1 = CSimLog(SimLogPath("a1"));
        m_seg2 = CSimLog(SimLogPath("a2"));
        ASSERT_EQ(SimControl(Env("ZT_HOST_A1"), 7000, "fault * none").substr(0, 2), "OK");
        m_nBase1 = m_seg1.Requests().size();
        m_nBase2 = m_seg2.Requests().size();
        m_targets.AddTail("255.255.255.255");
    }
    size_t Sent1() const { return m_seg1.Requests().size() - m_nBase1; }
    size_t Sent2() const { return m_seg2.Requests().size() - m_nBase2; }

    CSimLog m_seg1, m_seg2;
    size_t m_nBase1 = 0, m_nBase2 = 0;
    CStringList m_targets;
};

TEST_F(Search, TwoInterfacesScheduleAndOneEntryPerAppliance) {
    ASSERT_EQ(localAddressCount, 2);
    CVirtualClock clock;
    COperationDlg dlg(OP_SEARCH, &m_targets, &m_host);
    struct Step {
        DWORD dwAt;
        size_t nSeg1, nSeg2;
    };
    // Sends through the first interface at 0, 2, 4, 6 s; re-bound at 8 s; the second at 10, 12, 14 s.
    const Step steps[] = {{0, 1, 0},     {2000, 2, 0},  {4000, 3, 0},  {6000, 4, 0}, {8000, 4, 0},
                          {10000, 4, 1}, {12000, 4, 2}, {14000, 4, 3}, {16000, 4, 3}};
    CString caption, status;
    CModalHook hook([&](CDialog* pDlg) {
        pDlg->GetWindowText(caption);
        pDlg->GetDlgItemText(IDC_OPERATION_STATUS, status);
        for (const Step& step : steps) {
            if (step.dwAt > 0) clock.Advance(step.dwAt - clock.Now());
            if (step.dwAt == 16000) break;  // the search has ended
            m_seg1.WaitForRequests(m_nBase1 + step.nSeg1);
            m_seg2.WaitForRequests(m_nBase2 + step.nSeg2);
            PumpFor(150);  // and nothing more arrives
            EXPECT_EQ(Sent1(), step.nSeg1) << step.dwAt;
            EXPECT_EQ(Sent2(), step.nSeg2) << step.dwAt;
        }
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(clock.Now(), 16000u);
    EXPECT_STREQ(caption, "Searching for devices");
    EXPECT_STREQ(status, "Searching Network ...");
    EXPECT_FALSE(interfaceWalk);
    EXPECT_EQ(m_boxes.GetCount(), 0);

    // One sequence number for the whole search, every send a broadcast.
    std::vector<SimDatagram> all = m_seg1.Requests();
    std::vector<SimDatagram> seg2 = m_seg2.Requests();
    all.erase(all.begin(), all.begin() + static_cast<long>(m_nBase1));
    all.insert(all.end(), seg2.begin() + static_cast<long>(m_nBase2), seg2.end());
    ASSERT_EQ(all.size(), 7u);
    for (const SimDatagram& d : all) {
        EXPECT_EQ(d.local, BROADCAST);
        EXPECT_EQ(d.nType, PKT_GET_INFO);
        EXPECT_EQ(d.nSequence, all[0].nSequence);
    }
    EXPECT_EQ(all[0].peer.substr(0, all[0].peer.find(':')), Dotted(localAddresses[0]));
    EXPECT_EQ(all[6].peer.substr(0, all[6].peer.find(':')), Dotted(localAddresses[1]));

    // The appliance answered through both interfaces: one entry, updated by the later answer.
    CDeviceList& devices = m_host.GetDevices();
    ASSERT_EQ(devices.GetCount(), 1u);
    const DeviceEntry* e = devices.GetAt(0);
    EXPECT_EQ(memcmp(e->abMac, NAS1_MAC, 6), 0);
    EXPECT_EQ(e->nItemId, 1);
    EXPECT_EQ(e->nInterfaceIndex, 0);
    EXPECT_STREQ(e->szServerName, "NAS1-SEG2");
    EXPECT_EQ(Dotted(e->dwAddress), Env("ZT_HOST_A2"));
}

TEST_F(Search, RepliesInState1OrWithAStaleNumberAddNothing) {
    CVirtualClock clock;
    ASSERT_EQ(SimControl(Env("ZT_HOST_A1"), 7000, "fault * state1").substr(0, 2), "OK");
    ASSERT_EQ(SimControl(Env("ZT_HOST_A2"), 7000, "fault * stale-seq").substr(0, 2), "OK");
    COperationDlg dlg(OP_SEARCH, &m_targets, &m_host);
    CModalHook hook([&](CDialog*) {
        for (int i = 0; i < 8; ++i) {
            clock.Advance(2000);
            PumpFor(100);
        }
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_GE(m_seg1.Replies().size(), 4u);  // they did answer
    EXPECT_EQ(m_host.GetDevices().GetCount(), 0u);
    SimControl(Env("ZT_HOST_A2"), 7000, "fault * none");
}

TEST_F(Search, CancelEndsAtOnceAndKeepsWhatWasFound) {
    CVirtualClock clock;
    COperationDlg dlg(OP_SEARCH, &m_targets, &m_host);
    CModalHook hook([&](CDialog* pDlg) {
        m_seg1.WaitForRequests(m_nBase1 + 1);
        PumpFor(200);  // the answer arrives
        clock.Advance(2000);
        pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(clock.Now(), 2000u);
    EXPECT_EQ(m_host.GetDevices().GetCount(), 1u);
    EXPECT_EQ(clock.GetTimerCount(), 0);
}

// ---- Settings write and password check -----------------------------------------------------------------

class Device : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        m_a1 = Env("ZT_HOST_A1");
        m_off = Env("ZT_HOST_OFF");
        m_log1 = CSimLog(SimLogPath("a1"));
        m_logOff = CSimLog(SimLogPath("off"));
        ASSERT_EQ(SimControl(m_a1, 7000, "fault * none").substr(0, 2), "OK");
        ASSERT_EQ(SimControl(m_a1, 7000, "result * 0").substr(0, 2), "OK");
        ASSERT_EQ(SimControl(m_off, 7000, "fault * none").substr(0, 2), "OK");
        m_nBase1 = m_log1.Requests().size();
        m_nBaseOff = m_logOff.Requests().size();
        m_nReplies1 = m_log1.Replies().size();
        memset(&m_settings, 0, sizeof m_settings);
        for (size_t i = 0; i < sizeof m_settings; ++i)
            reinterpret_cast<uint8_t*>(&m_settings)[i] = static_cast<uint8_t>(i * 7 + 3);
        // As after a search that found the appliances through the first interface.
        interfaceWalk = false;
    }
    std::vector<SimDatagram> New1() const { return RequestsAfter(m_log1, m_nBase1); }
    std::vector<SimDatagram> NewOff() const { return RequestsAfter(m_logOff, m_nBaseOff); }

    // A password dialog on entry in which the right password is entered, then then() runs; returns how the
    // dialog ended.
    int CheckSecret(DeviceEntry entry, const std::function<void(CDialog*)>& then) {
        CPasswordDlg dlg(&entry, &m_host);
        CModalHook hook([&](CDialog* pDlg) {
            EnterPassword(pDlg, "secret");
            then(pDlg);
        });
        return dlg.DoModal();
    }

    // The first two checks go unanswered (log: where they arrive, after nBase): the clock moves on past each,
    // and the third is answered.
    int CheckAfterTwoLostChecks(DeviceEntry entry, const CSimLog& log, size_t nBase, CVirtualClock& clock) {
        return CheckSecret(entry, [&](CDialog*) {
            for (size_t i = 1; i <= 2; ++i) {
                log.WaitForRequests(nBase + i);
                clock.Advance(2000);
            }
            log.WaitForRequests(nBase + 3);
            PumpFor(1000);  // the answer to the third check
        });
    }

    std::string m_a1, m_off;
    CSimLog m_log1, m_logOff;
    size_t m_nBase1 = 0, m_nBaseOff = 0, m_nReplies1 = 0;
    DeviceSettings m_settings;
};

TEST_F(Device, SetConfigOnTheSubnetGoesToTheApplianceEveryTimeAndGivesUpAt160Seconds) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 drop-requests=100").substr(0, 2), "OK");
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    COperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
    CString caption, status;
    std::vector<size_t> counts;
    CModalHook hook([&](CDialog* pDlg) {
        pDlg->GetWindowText(caption);
        pDlg->GetDlgItemText(IDC_OPERATION_STATUS, status);
        PumpFor(100);
        SaveWindowPicture(pDlg->m_hWnd, "operation_dialog_set_config");
        for (int i = 0; i < 8; ++i) {
            m_log1.WaitForRequests(m_nBase1 + static_cast<size_t>(i) + 1);
            PumpFor(50);
            counts.push_back(New1().size());
            clock.Advance(20000);
        }
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(clock.Now(), 160000u);
    EXPECT_EQ(m_boxes.GetCount(), 0);  // the caller reports the failure
    EXPECT_STREQ(caption, "Setup device");
    EXPECT_STREQ(status, "Connecting  NAS1");
    EXPECT_FALSE(interfaceWalk);
    for (size_t i = 0; i < counts.size(); ++i) EXPECT_EQ(counts[i], i + 1) << "one send per 20 s";
    std::vector<SimDatagram> sent = New1();
    ASSERT_EQ(sent.size(), 8u);
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].local, m_a1 + ":915") << i;
        EXPECT_EQ(sent[i].nType, PKT_SET_CONFIG);
        EXPECT_EQ(sent[i].nSequence, sent[0].nSequence);
        EXPECT_EQ(sent[i].hex, sent[0].hex);
    }
    EXPECT_TRUE(NewOff().empty());  // the other host of the segment heard none of them
}

TEST_F(Device, SetConfigOffTheSubnetBroadcastsOnlyWithTheWalkOn) {
    ASSERT_EQ(SimControl(m_off, 7000, "fault NAS9 drop-requests=100").substr(0, 2), "OK");
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS9_MAC, "NAS9", m_off.c_str());
    COperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
    std::vector<bool> walk;
    CModalHook hook([&](CDialog*) {
        for (int i = 0; i < 8; ++i) {
            m_logOff.WaitForRequests(m_nBaseOff + static_cast<size_t>(i) + 1);
            walk.push_back(interfaceWalk);
            clock.Advance(20000);
        }
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(clock.Now(), 160000u);
    for (bool b : walk) EXPECT_TRUE(b);
    EXPECT_FALSE(interfaceWalk);  // given up
    std::vector<SimDatagram> sent = NewOff();
    ASSERT_EQ(sent.size(), 8u);
    for (const SimDatagram& d : sent) EXPECT_EQ(d.local, BROADCAST);
}

TEST_F(Device, SetConfigFailureShowsItsMessageOnceAndDropsTheSecondCopy) {
    ASSERT_EQ(SimControl(m_a1, 7000, "result NAS1 -101").substr(0, 2), "OK");
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 twice").substr(0, 2), "OK");
    CVirtualClock clock;
    // While the user reads the message, the second copy arrives.
    m_boxes.SetCallback([](const CMessageBoxRecorder::Box&) {
        Sleep(300);
        return IDOK;
    });
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    COperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
    CModalHook hook([&](CDialog*) { PumpFor(1000); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Set IP fail");
    EXPECT_EQ(m_boxes.Last().Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(m_log1.Replies().size() - m_nReplies1, 2u);
    EXPECT_EQ(New1().size(), 1u);
    EXPECT_EQ(clock.Now(), 0u);
}

TEST_F(Device, SetConfigWritesTheRecordByteForByteWithTheChosenMac) {
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    std::string before = SimControl(m_a1, 7000, "record NAS1");
    COperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
    CModalHook hook([&](CDialog*) { PumpFor(3000); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_boxes.GetCount(), 0);
    DeviceSettings expected = m_settings;
    memcpy(expected.abMac, NAS1_MAC, 6);
    std::string hex;
    char two[3];
    for (size_t i = 0; i < sizeof expected; ++i) {
        snprintf(two, sizeof two, "%02x", reinterpret_cast<const uint8_t*>(&expected)[i]);
        hex += two;
    }
    std::string stored = SimControl(m_a1, 7000, "record NAS1");
    EXPECT_EQ(stored, "OK " + hex);
    SimControl(m_a1, 7000, "record NAS1 " + before.substr(3));
}

TEST_F(Device, SetConfigReplyFromAnotherAddressIsAccepted) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 from-other").substr(0, 2), "OK");
    CVirtualClock clock;
    std::string before = SimControl(m_a1, 7000, "record NAS1");
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    COperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
    CModalHook hook([&](CDialog*) { PumpFor(3000); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    SimControl(m_a1, 7000, "record NAS1 " + before.substr(3));
}

// Gives the tests a look at the request buffer after the dialog has ended.
class CInspectedPasswordDlg : public CPasswordDlg {
public:
    using CPasswordDlg::CPasswordDlg;
    const uint8_t* Packet() const { return m_packet; }
    const CString& Password() const { return m_strPassword; }
};

TEST_F(Device, PasswordOkNeedsTextInTheEdit) {
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    CPasswordDlg dlg(&entry, &m_host);
    bool initiallyEnabled = true, enabledWithText = false, enabledAgainEmpty = true;
    int editLimit = 0;
    CString caption;
    CModalHook hook([&](CDialog* pDlg) {
        pDlg->GetWindowText(caption);
        initiallyEnabled = pDlg->GetDlgItem(IDC_PASSWORD_OK)->IsWindowEnabled();
        editLimit = static_cast<int>(pDlg->SendDlgItemMessage(IDC_PASSWORD_EDIT, EM_GETLIMITTEXT));
        Click(pDlg, IDC_PASSWORD_OK);  // refused by the disabled button's handler as well
        pDlg->SetDlgItemText(IDC_PASSWORD_EDIT, "x");
        PumpFor(100);
        SaveWindowPicture(pDlg->m_hWnd, "password_dialog");
        enabledWithText = pDlg->GetDlgItem(IDC_PASSWORD_OK)->IsWindowEnabled();
        pDlg->SetDlgItemText(IDC_PASSWORD_EDIT, "");
        enabledAgainEmpty = pDlg->GetDlgItem(IDC_PASSWORD_OK)->IsWindowEnabled();
        Click(pDlg, IDC_PASSWORD_OK);
        PumpFor(300);
        pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(caption, "Verify admin password");
    EXPECT_FALSE(initiallyEnabled);
    EXPECT_EQ(editLimit, 14);
    EXPECT_TRUE(enabledWithText);
    EXPECT_FALSE(enabledAgainEmpty);
    EXPECT_EQ(New1().size(), 0u);  // nothing was sent
}

TEST_F(Device, PasswordCheckScheduleAndNoResponse) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 drop-requests=100").substr(0, 2), "OK");
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    CPasswordDlg dlg(&entry, &m_host);
    std::vector<size_t> counts;
    int nBoxesBefore8s = -1;
    bool okEnabledWhileChecking = true, okEnabledAfter = false, editEnabledAfter = false;
    CModalHook hook([&](CDialog* pDlg) {
        EnterPassword(pDlg, "secret");
        okEnabledWhileChecking = pDlg->GetDlgItem(IDC_PASSWORD_OK)->IsWindowEnabled() ||
                                 pDlg->GetDlgItem(IDC_PASSWORD_EDIT)->IsWindowEnabled();
        for (int i = 0; i < 4; ++i) {
            m_log1.WaitForRequests(m_nBase1 + static_cast<size_t>(i) + 1);
            PumpFor(50);
            counts.push_back(New1().size());
            if (i == 3) nBoxesBefore8s = m_boxes.GetCount();
            clock.Advance(2000);
        }
        okEnabledAfter = pDlg->GetDlgItem(IDC_PASSWORD_OK)->IsWindowEnabled();
        editEnabledAfter = pDlg->GetDlgItem(IDC_PASSWORD_EDIT)->IsWindowEnabled();
        pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(clock.Now(), 8000u);
    EXPECT_FALSE(okEnabledWhileChecking);
    EXPECT_EQ(nBoxesBefore8s, 0);
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Device no response");
    EXPECT_EQ(m_boxes.Last().Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_TRUE(okEnabledAfter);
    EXPECT_TRUE(editEnabledAfter);
    for (size_t i = 0; i < counts.size(); ++i) EXPECT_EQ(counts[i], i + 1);
    std::vector<SimDatagram> sent = New1();
    ASSERT_EQ(sent.size(), 4u);
    for (const SimDatagram& d : sent) {
        EXPECT_EQ(d.local, m_a1 + ":915");
        EXPECT_EQ(d.nType, PKT_CHECK_PASSWORD);
        EXPECT_EQ(d.nSequence, sent[0].nSequence);
        EXPECT_EQ(d.hex, sent[0].hex);
    }
    EXPECT_TRUE(NewOff().empty());  // the other host of the segment heard none of them
}

// The off host shares NAS1's segment and hears whatever is broadcast there: it stands for a host that listens.
TEST_F(Device, ThePasswordStaysWithItsApplianceWhenEarlyChecksAreLost) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 drop-first=2").substr(0, 2), "OK");
    CVirtualClock clock;
    EXPECT_EQ(CheckAfterTwoLostChecks(MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str()), m_log1, m_nBase1, clock), IDOK);
    EXPECT_EQ(clock.Now(), 4000u);
    std::vector<SimDatagram> sent = New1();
    ASSERT_EQ(sent.size(), 3u);
    for (const SimDatagram& d : sent) EXPECT_EQ(d.local, m_a1 + ":915");
    EXPECT_TRUE(NewOff().empty()) << "the listening host heard a check, and the password with it";
    EXPECT_EQ(m_boxes.GetCount(), 0);

    // An appliance outside the PC's subnet, which only broadcasts reach, is still checked: by the broadcast at 4 s.
    ASSERT_EQ(SimControl(m_off, 7000, "fault NAS9 ignore=unicast").substr(0, 2), "OK");
    EXPECT_EQ(CheckAfterTwoLostChecks(MakeEntry(NAS9_MAC, "NAS9", m_off.c_str()), m_logOff, m_nBaseOff, clock), IDOK);
    sent = NewOff();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].local, m_off + ":915");
    EXPECT_EQ(sent[1].local, m_off + ":915");
    EXPECT_EQ(sent[2].local, BROADCAST);
}

TEST_F(Device, WrongPasswordThenRightOneWithANewSequenceNumber) {
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    CPasswordDlg dlg(&entry, &m_host);
    bool okEnabledAfterRefusal = false, editEnabledAfterRefusal = false;
    CModalHook hook([&](CDialog* pDlg) {
        EnterPassword(pDlg, "wrong");
        PumpFor(1000);
        okEnabledAfterRefusal = pDlg->GetDlgItem(IDC_PASSWORD_OK)->IsWindowEnabled();
        editEnabledAfterRefusal = pDlg->GetDlgItem(IDC_PASSWORD_EDIT)->IsWindowEnabled();
        EnterPassword(pDlg, "secret");
        PumpFor(2000);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Wrong password");
    EXPECT_TRUE(okEnabledAfterRefusal);
    EXPECT_TRUE(editEnabledAfterRefusal);
    std::vector<SimDatagram> sent = New1();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NE(sent[0].nSequence, sent[1].nSequence);
    // Header, then the MAC and the NUL-padded 15-byte password field.
    EXPECT_EQ(sent[0].hex.substr(0, 4), "1300");
    EXPECT_EQ(sent[0].hex.substr(12, 4), "1500");
    EXPECT_EQ(sent[0].hex.substr(16),
              "025a00000001"
              "77726f6e67"
              "00000000000000000000");
    EXPECT_EQ(sent[1].hex.substr(16),
              "025a00000001"
              "736563726574"
              "000000000000000000");
    EXPECT_EQ(clock.Now(), 0u);
}

TEST_F(Device, PasswordReplyFromAnotherAddressIsDropped) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 from-other").substr(0, 2), "OK");
    CVirtualClock clock;
    const int nEnd = CheckSecret(MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str()), [&](CDialog* pDlg) {
        PumpFor(1000);  // the right answer, from 198.18.1.11
        EXPECT_EQ(m_log1.Replies().size() - m_nReplies1, 1u);
        for (int i = 0; i < 4; ++i) {
            clock.Advance(2000);
            PumpFor(200);
        }
        pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(nEnd, IDCANCEL);
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Device no response");
}

TEST_F(Device, ReplyAfterNoResponseIsDropped) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 late=1500").substr(0, 2), "OK");
    CVirtualClock clock;
    const int nEnd = CheckSecret(MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str()), [&](CDialog* pDlg) {
        for (int i = 0; i < 4; ++i) clock.Advance(2000);
        PumpFor(2500);  // the late answers come in
        pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(nEnd, IDCANCEL);
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Device no response");
    EXPECT_GE(m_log1.Replies().size() - m_nReplies1, 1u);
}

TEST_F(Device, PasswordLeavesNoCopyBehindWhenTheDialogEnds) {
    ASSERT_EQ(SimControl(m_a1, 7000, "set NAS1 password " + std::string(kPassword)).substr(0, 2), "OK");
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    CountFreedBlocksWith(kPassword);
    {
        CInspectedPasswordDlg dlg(&entry, &m_host);
        CModalHook hook([&](CDialog* pDlg) {
            EnterPassword(pDlg, kPassword);
            PumpFor(1500);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        for (int i = 0; i < MAX_PACKET; ++i) ASSERT_EQ(dlg.Packet()[i], 0) << i;
        EXPECT_TRUE(dlg.Password().IsEmpty());
        // The dialog's channel is closed: its slot is free again.
        HWND hOwner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        int h = NetOpenChannel(hOwner, 1126);
        EXPECT_EQ(h, 1);
        NetCloseChannel(h);
        DestroyWindow(hOwner);
    }
    EXPECT_EQ(FreedBlocksWithMarker(), 0);
    EXPECT_EQ(New1().size(), 1u);
    SimControl(m_a1, 7000, "set NAS1 password secret");
}

// Shows which of its frames the animation picture holds.
class CInspectedOperationDlg : public COperationDlg {
public:
    using COperationDlg::COperationDlg;
    int FrameShown() {
        HBITMAP hShown =
            reinterpret_cast<HBITMAP>(SendDlgItemMessage(IDC_OPERATION_ANIMATION, STM_GETIMAGE, IMAGE_BITMAP));
        for (int i = 0; i < 4; ++i)
            if (hShown && hShown == static_cast<HBITMAP>(m_hFrames[i])) return i;
        return -1;
    }
};

TEST_F(Device, AnimationCyclesEvery300MsAndGoesOnInTheNextDialog) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 drop-requests=100").substr(0, 2), "OK");
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    std::vector<int> first, second;
    {
        CInspectedOperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
        CModalHook hook([&](CDialog*) {
            first.push_back(dlg.FrameShown());
            for (int i = 0; i < 6; ++i) {
                clock.Advance(300);
                first.push_back(dlg.FrameShown());
            }
            dlg.SendMessage(WM_COMMAND, IDCANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        CInspectedOperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
        CModalHook hook([&](CDialog*) {
            clock.Advance(300);
            second.push_back(dlg.FrameShown());
            dlg.SendMessage(WM_COMMAND, IDCANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    ASSERT_EQ(first.size(), 7u);
    EXPECT_EQ(first[0], 0);  // the first picture at the start
    for (size_t i = 1; i + 1 < first.size(); ++i) EXPECT_EQ(first[i + 1], (first[i] + 1) % 4) << i;
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0], (first.back() + 1) % 4);  // on from where the last dialog stopped
}

TEST_F(Device, ColoursAreWhiteOnTheDialogBlue) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 drop-requests=100").substr(0, 2), "OK");
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    COperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
    COLORREF text = 0, back = 0, brush = 0;
    CModalHook hook([&](CDialog* pDlg) {
        HDC hdc = ::GetDC(pDlg->m_hWnd);
        HWND hStatus = pDlg->GetDlgItem(IDC_OPERATION_STATUS)->m_hWnd;
        HBRUSH hBrush = reinterpret_cast<HBRUSH>(
            pDlg->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hStatus)));
        text = GetTextColor(hdc);
        back = GetBkColor(hdc);
        LOGBRUSH lb{};
        if (hBrush && GetObjectA(hBrush, sizeof lb, &lb)) brush = lb.lbColor;
        ::ReleaseDC(pDlg->m_hWnd, hdc);
        pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(text, RGB(255, 255, 255));
    EXPECT_EQ(back, RGB(0x30, 0x33, 0x56));
    EXPECT_EQ(brush, RGB(0x30, 0x33, 0x56));
}

TEST_F(Device, StopIsAHiddenHoverButtonWithItsStrip) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 drop-requests=100").substr(0, 2), "OK");
    CVirtualClock clock;
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    COperationDlg dlg(OP_SET_CONFIG, &entry, &m_settings, &m_host);
    bool hover = false, visible = true;
    int width = 0, height = 0;
    CModalHook hook([&](CDialog* pDlg) {
        HWND hStop = ::GetDlgItem(pDlg->m_hWnd, IDCANCEL);
        auto* pStop = dynamic_cast<CHoverButton*>(CWnd::FromHandlePermanent(hStop));
        hover = pStop != nullptr;
        if (pStop) {
            width = pStop->GetFrameWidth();
            height = pStop->GetFrameHeight();
        }
        visible = ::IsWindowVisible(hStop) != 0;
        pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(hover);
    EXPECT_EQ(width, 88);
    EXPECT_EQ(height, 26);
    EXPECT_FALSE(visible);
}

// WinSock stopped under the dialog: every later send fails, and so does opening a socket. Returns how many
// starts it undid, for WinSockUp.
int WinSockDown() {
    int n = 0;
    while (WSACleanup() == 0) ++n;
    return n;
}
void WinSockUp(int n) {
    WSADATA data;
    for (int i = 0; i < n; ++i) WSAStartup(MAKEWORD(1, 1), &data);
}

// A send or a move to the next local address that fails shows the message once and ends the operation, even
// while the user takes his time over the message: the retry timer must not go on through the failed channel.
TEST_F(Device, ACommunicationErrorShowsOneMessageAndEndsTheOperation) {
    ASSERT_EQ(SimControl(m_a1, 7000, "fault NAS1 drop-requests=100").substr(0, 2), "OK");
    CVirtualClock clock;
    std::vector<DWORD> shownAt;
    m_boxes.SetCallback([&](const CMessageBoxRecorder::Box&) {
        shownAt.push_back(clock.Now());
        if (shownAt.size() == 1) clock.Advance(30000);  // read for 30 s, while the dialog's timers run
        return IDOK;
    });
    int nDown = 0;

    // The search's move to a second local address at 8 s cannot open a socket.
    const int nSavedCount = localAddressCount;
    const uint32_t dwSavedSecond = localAddresses[1];
    interfaceWalk = true;
    localAddressCount = 2;
    localAddresses[1] = localAddresses[0];
    CStringList targets;
    targets.AddTail("255.255.255.255");
    {
        COperationDlg search(OP_SEARCH, &targets, &m_host);
        CModalHook hook([&](CDialog*) {
            clock.Advance(6000);  // the first send and its three resends
            nDown = WinSockDown();
            clock.Advance(60000);
        });
        EXPECT_EQ(search.DoModal(), IDCANCEL);
    }
    WinSockUp(nDown);
    localAddresses[1] = dwSavedSecond;
    localAddressCount = nSavedCount;
    EXPECT_EQ(shownAt, std::vector<DWORD>{8000});
    EXPECT_EQ(clock.GetTimerCount(), 0);

    // The write's second attempt, at 20 s, cannot send.
    shownAt.clear();
    interfaceWalk = false;
    const size_t nBefore = m_log1.Requests().size();
    const DWORD dwStart = clock.Now();
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    {
        COperationDlg write(OP_SET_CONFIG, &entry, &m_settings, &m_host);
        CModalHook hook([&](CDialog*) {
            m_log1.WaitForRequests(nBefore + 1);
            nDown = WinSockDown();
            clock.Advance(60000);
        });
        EXPECT_EQ(write.DoModal(), IDCANCEL);
    }
    WinSockUp(nDown);
    EXPECT_EQ(shownAt, std::vector<DWORD>{dwStart + 20000});
    EXPECT_EQ(clock.GetTimerCount(), 0);
    EXPECT_EQ(m_log1.Requests().size(), nBefore + 1) << "nothing went out after the error";
    for (int i = 0; i < m_boxes.GetCount(); ++i)
        EXPECT_STREQ(m_boxes.GetAt(i).text, "communication error!\nPlease check your TCP/IP setting ");
}

TEST_F(Device, NoFreeChannelGivesTheCommunicationError) {
    HWND hOwner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<int> handles;
    for (int h; (h = NetOpenChannel(hOwner, 1126)) != 0;) handles.push_back(h);
    ASSERT_EQ(handles.size(), static_cast<size_t>(MAX_CHANNELS));
    DeviceEntry entry = MakeEntry(NAS1_MAC, "NAS1", m_a1.c_str());
    CStringList targets;
    targets.AddTail("255.255.255.255");
    {
        COperationDlg search(OP_SEARCH, &targets, &m_host);
        EXPECT_EQ(search.DoModal(), IDCANCEL);
        COperationDlg write(OP_SET_CONFIG, &entry, &m_settings, &m_host);
        EXPECT_EQ(write.DoModal(), IDCANCEL);
        CPasswordDlg password(&entry, &m_host);
        EXPECT_EQ(password.DoModal(), IDCANCEL);
    }
    for (int h : handles) NetCloseChannel(h);
    DestroyWindow(hOwner);
    ASSERT_EQ(m_boxes.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(m_boxes.GetAt(i).text, "communication error!\nPlease check your TCP/IP setting ");
        EXPECT_EQ(m_boxes.GetAt(i).Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(New1().size(), 0u);
}

}  // namespace
