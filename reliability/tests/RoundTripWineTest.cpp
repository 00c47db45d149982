// The settings round trip: 1000 random records served by the simulator, each read by the device list page,
// edited on the IP settings and server pages as a user types, and saved from the summary page. What
// reached the simulator must be the served record with exactly the edited fields changed and the fields
// the wizard rewrites by its rules (terminators, the sender's address, the reported address, the note,
// the seconds); every byte it does not interpret goes back unchanged.
//   lab: --host a1=1, NAS1 at .10 without a password; control on TCP 7000
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "RecordModel.h"
#include "WizardDriver.h"
#include "../../wizard/res/resource.h"
#include "../../wizard/shell/WizardState.h"

namespace {

const uint8_t NAS1_MAC[6] = {0x02, 0x5a, 0x00, 0x00, 0x00, 0x01};
// ZT_ROUND_TRIP_RECORDS=N runs fewer (or more) records by hand.
int RecordCount() {
    const char* v = getenv("ZT_ROUND_TRIP_RECORDS");
    return v && atoi(v) > 0 ? atoi(v) : 1000;
}

std::string Octet(uint8_t b) {
    return std::to_string(static_cast<unsigned>(b));
}

std::string TwoDigits(int n) {
    char sz[8];
    snprintf(sz, sizeof sz, "%02d", n);
    return sz;
}

// The edits typed into the IP settings page as a user makes them.
void EditIpPage(CWizardDriver& d, const DeviceSettings& loaded, const RecordEdits& e) {
    CIPSettingsPage& page = d.m_ip;
    if (e.bDhcpClient) {
        ClickRadio(page.m_hWnd, IDC_IP_DHCP_CLIENT, IDC_IP_FIXED);
        return;
    }
    if (loaded.bFixedIp == 0) {
        ClickRadio(page.m_hWnd, IDC_IP_FIXED, IDC_IP_DHCP_CLIENT);
    }
    const uint8_t* groups[3] = {e.abIpAddress, e.abSubnetMask, e.abGateway};
    const bool typed[3] = {e.bNewAddress, e.bNewMask, e.bNewGateway};
    for (int g = 0; g < 3; ++g)
        if (typed[g])
            for (int k = 0; k < 4; ++k) Retype(d.Item(page, page.m_fieldIds[g * 4 + k]), Octet(groups[g][k]));
}

void EditServerPage(CWizardDriver& d, const RecordEdits& e) {
    CServerPage& page = d.m_server;
    if (e.bNewName) Retype(d.Item(page, IDC_SERVER_NAME), e.serverName);
    if (e.bNewWorkgroup) Retype(::GetWindow(d.Item(page, IDC_SERVER_WORKGROUP), GW_CHILD), e.workgroup);
    if (e.bNewZone)
        ::SendMessageA(d.Item(page, IDC_SERVER_TIME_ZONE), CB_SETCURSEL, static_cast<WPARAM>(e.nTimeZone), 0);
    if (e.bNewDate) {
        // The day first: any day up to 28 fits the month that is still shown.
        Retype(d.Item(page, IDC_SERVER_DAY), TwoDigits(e.nDay));
        Retype(d.Item(page, IDC_SERVER_MONTH), TwoDigits(e.nMonth));
        Retype(d.Item(page, IDC_SERVER_YEAR), std::to_string(e.nYear));
    }
    if (e.bNewTime) {
        const int nHour12 = e.nHour % 12 == 0 ? 12 : e.nHour % 12;
        Retype(d.Item(page, IDC_SERVER_HOUR), std::to_string(nHour12));
        Retype(d.Item(page, IDC_SERVER_MINUTE), TwoDigits(e.nMinute));
        ::SendMessageA(d.Item(page, IDC_SERVER_AM_PM), CB_SETCURSEL, e.nHour >= 12 ? 1 : 0, 0);
    }
}

}  // namespace

TEST(RoundTrip, ThousandRandomRecordsComeBackWithExactlyTheEditedFields) {
    const std::string a1 = LabEnv("ZT_HOST_A1");
    const uint32_t dwA1 = Addr(a1);
    uint8_t abA1[4];
    memcpy(abA1, &dwA1, 4);
    CSimLog log(SimLogPath("a1"));
    ASSERT_EQ(SimControl(a1, 7000, "fault * none"), "OK 1 appliance(s)");
    const std::string original = SimControl(a1, 7000, "record NAS1");

    const int RECORD_COUNT = RecordCount();
    std::mt19937 rng(20261209);
    int nDone = 0, nReadFailures = 0, nWriteFailures = 0, nMismatches = 0, nEditedFields = 0;
    CWizardDriver d(log);
    d.m_dwAnswerWait = 2000;  // nothing is dropped: every answer comes
    d.Run([&] {
        d.StartAndSearch();
        ASSERT_EQ(d.TreeNames(), std::vector<std::string>{"NAS1"});
        ASSERT_TRUE(d.SelectAndRead("NAS1"));
        for (int i = 0; i < RECORD_COUNT; ++i) {
            const DeviceSettings served = RandomRecord(rng, NAS1_MAC);
            const RecordEdits edits = RandomEdits(rng);
            SCOPED_TRACE("record " + std::to_string(i) + " " + RecordHex(served));
            ASSERT_EQ(SimControl(a1, 7000, "record NAS1 " + RecordHex(served)), "OK 1 appliance(s)");

            if (d.ActivePage() != &d.m_list) d.m_wizard.ActivatePage(&d.m_list);
            d.Reselect(std::string(d.TreeNames().at(0)).c_str());
            if (!g_settingsRead) {
                ++nReadFailures;
                ADD_FAILURE() << "not read";
                continue;
            }
            const DeviceSettings read = ExpectedAfterRead(served, abA1);
            EXPECT_EQ(DifferingOffsets(g_settings, read), "none") << "after the read";

            d.ClickNext();
            ASSERT_EQ(d.ActivePage(), &d.m_ip);
            EditIpPage(d, read, edits);
            d.ClickNext();
            // An appliance with its DHCP server on has the page's hidden range check failing until Next has
            // stored the server off and shown the page again: a second Next goes on.
            if (d.ActivePage() == &d.m_ip && read.bDhcpServerOff == 0) d.ClickNext();
            ASSERT_EQ(d.ActivePage(), &d.m_server) << "the IP settings page refused Next";
            EditServerPage(d, edits);
            d.ClickNext();
            ASSERT_EQ(d.ActivePage(), &d.m_summary) << "the server page refused Next";
            d.Save();
            if (d.m_nNoticeKind != 2) {
                ++nWriteFailures;
                ADD_FAILURE() << "write not confirmed: notice " << d.m_nNoticeKind;
                continue;
            }

            DeviceSettings stored{};
            const std::string reply = SimControl(a1, 7000, "record NAS1");
            ASSERT_TRUE(reply.size() > 3 && ParseRecordHex(reply.substr(3), stored)) << reply;
            const DeviceSettings expected = ExpectedAfterEdits(read, edits);
            const std::string diff = DifferingOffsets(stored, expected);
            if (diff != "none") {
                ++nMismatches;
                ADD_FAILURE() << "stored record differs at offsets " << diff;
            }
            nEditedFields +=
                edits.bNewName + edits.bNewWorkgroup + edits.bNewZone + edits.bNewDate + edits.bNewTime + 1;
            ++nDone;
        }
        EXPECT_EQ(d.m_boxes.GetCount(), 0);
        for (int i = 0; i < d.m_boxes.GetCount() && i < 5; ++i) ADD_FAILURE() << d.m_boxes.GetAt(i).text;
    });
    printf("\n%8s %12s %13s %12s %13s\n", "records", "round trips", "read failed", "write failed", "mismatched");
    printf("%8d %12d %13d %12d %13d   (%d fields edited)\n", RECORD_COUNT, nDone, nReadFailures, nWriteFailures,
           nMismatches, nEditedFields);
    EXPECT_EQ(nDone, RECORD_COUNT);
    if (original.size() > 3) SimControl(a1, 7000, "record NAS1 " + original.substr(3));
}
