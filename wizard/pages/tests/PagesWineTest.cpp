// The IP settings, server and summary pages and the two apply dialogs inside the real wizard window under
// Wine: typing as a user does (one WM_CHAR a character, so every change notification fires), the messages
// each check shows, and what reaches g_settings. Notice timing on a virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "../../link/TimeZones.h"
#include "../../res/resource.h"
#include "../../shell/DeviceListPage.h"
#include "../../shell/ServerPage.h"
#include "../../shell/WizardDlg.h"
#include "../../shell/WizardState.h"
#include "../ConfirmDlg.h"
#include "../IPSettingsPage.h"
#include "../NoticeDlg.h"
#include "../SummaryPage.h"
#include "Framework.h"
#include "MessageBoxRecorder.h"
#include "Screenshot.h"
#include "VirtualClock.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

const char kRangeDay30[] = "Value must be between 1 and 30";
const char kServerNameChars[] =
    "The following characters are not allowed\n \" / \\ [ ] : ; | = .  , + * ? < > SPACE ` ' ";
const char kWorkgroupChars[] = "The following characters are not allowed\n \" / \\ [ ] : ; | = . , + * ? < > ` '  ";

// A settings record as an appliance sends it, with every byte the pages do not edit recognisable.
DeviceSettings Record() {
    DeviceSettings s;
    uint8_t* p = reinterpret_cast<uint8_t*>(&s);
    for (size_t i = 0; i < sizeof s; ++i) p[i] = static_cast<uint8_t>(0x80 + i);
    memset(s.szServerName, 0, sizeof s.szServerName + sizeof s.szNote);
    strcpy(s.szServerName, "NAS1");
    strcpy(s.szNote, "note");
    strcpy(s.szDate, "12/08/2026");
    strcpy(s.szTime, "23:15:00");
    memset(s.szWorkgroup, 0, sizeof s.szWorkgroup);
    strcpy(s.szWorkgroup, "LAB");
    s.bFixedIp = 1;
    const uint8_t ip[4] = {192, 168, 1, 20}, mask[4] = {255, 255, 255, 0}, gw[4] = {192, 168, 1, 1};
    memcpy(s.abIpAddress, ip, 4);
    memcpy(s.abSubnetMask, mask, 4);
    memcpy(s.abGateway, gw, 4);
    s.bDhcpServerOff = 1;
    s.nTimeZone = 22;
    return s;
}

// Types into a control as a user does: each character is handled before the next.
void Type(HWND hEdit, const char* pszText) {
    for (const char* p = pszText; *p; ++p) ::SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(*p), 1);
}
// Selects the whole text and types over it; "" deletes it.
void Retype(HWND hEdit, const char* pszText) {
    ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
    Type(hEdit, *pszText ? pszText : "\b");
}
std::string Text(HWND hWnd) {
    char sz[256] = "";
    ::GetWindowTextA(hWnd, sz, sizeof sz);
    return sz;
}

// The wizard window with the pages under test, run modally; the body acts inside its loop.
class PagesTest : public testing::Test {
protected:
    void SetUp() override {
        g_settings = Record();
        g_settingsRead = g_passwordPassed = g_redoSearch = g_closeAfterSave = g_saveAttempted = false;
        g_noticeKind = 0;
    }
    void Run(CWizardPage& page, std::function<void(CWizardDlg*)> body) { Run({&page}, std::move(body)); }
    void Run(std::initializer_list<CWizardPage*> pages, std::function<void(CWizardDlg*)> body) {
        CWizardDlg dlg;
        for (CWizardPage* pPage : pages) dlg.AddPage(pPage, pPage->m_nPageId);
        CModalHook hook([&](CDialog* pDlg) {
            if (pDlg != &dlg) return;
            body(&dlg);
            if (dlg.ContinueModal()) dlg.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
    }
    HWND Item(CWizardPage& page, int nId) { return ::GetDlgItem(page.m_hWnd, nId); }
    CMessageBoxRecorder m_boxes;
};

}  // namespace

// ---- Server page ----

TEST_F(PagesTest, ServerPageLoadsTwelveHourClockAndCorrectsTheTimeZone) {
    for (int32_t nZone : {63, -1}) {
        strcpy(g_settings.szTime, "00:05:00");
        g_settings.nTimeZone = nZone;
        CServerPage page;
        Run(page, [&](CWizardDlg*) {
            EXPECT_EQ(Text(Item(page, IDC_SERVER_HOUR)), "12");
            EXPECT_EQ(Text(Item(page, IDC_SERVER_MINUTE)), "05");
            EXPECT_EQ(::SendMessageA(Item(page, IDC_SERVER_AM_PM), CB_GETCURSEL, 0, 0), 0) << "AM";
            EXPECT_EQ(::SendMessageA(Item(page, IDC_SERVER_TIME_ZONE), CB_GETCURSEL, 0, 0), 4);
            EXPECT_EQ(::SendMessageA(Item(page, IDC_SERVER_TIME_ZONE), CB_GETCOUNT, 0, 0), 63);
            EXPECT_EQ(g_settings.nTimeZone, 4);
            EXPECT_EQ(Text(Item(page, IDC_SERVER_MONTH)), "12");
            EXPECT_EQ(Text(Item(page, IDC_SERVER_DAY)), "08");
            EXPECT_EQ(Text(Item(page, IDC_SERVER_YEAR)), "2026");
            EXPECT_EQ(page.m_bComplete, 1);
            EXPECT_EQ(page.OnWizardNext(), 0);
            EXPECT_EQ(g_settings.nTimeZone, 4) << nZone;
            EXPECT_STREQ(g_settings.szTime, "00:05:00");
            if (nZone == 63) SaveArtifactScreenshot(page.GetParent()->m_hWnd, "server_page_loaded");
        });
        EXPECT_EQ(m_boxes.GetCount(), 0);
    }
}

TEST_F(PagesTest, ServerPageDayRangeFollowsMonthAndLeapYear) {
    CServerPage page;
    Run(page, [&](CWizardDlg*) {
        HWND hMonth = Item(page, IDC_SERVER_MONTH), hDay = Item(page, IDC_SERVER_DAY),
             hYear = Item(page, IDC_SERVER_YEAR);
        Retype(hDay, "");
        Retype(hMonth, "0");
        EXPECT_EQ(m_boxes.GetCount(), 0) << "the first digit of 04";
        Type(hMonth, "4");
        Type(hDay, "3");
        EXPECT_EQ(m_boxes.GetCount(), 0);
        Type(hDay, "1");
        ASSERT_EQ(m_boxes.GetCount(), 1);
        EXPECT_STREQ(m_boxes.Last().text, kRangeDay30);
        EXPECT_EQ(m_boxes.Last().Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(Text(hDay), "");
        EXPECT_EQ(page.m_bComplete, 0);
        m_boxes.Clear();

        Retype(hMonth, "02");
        for (const char* year : {"2000", "2004"}) {
            Retype(hYear, year);
            Retype(hDay, "29");
            EXPECT_EQ(m_boxes.GetCount(), 0) << year;
            EXPECT_EQ(page.m_bComplete, 1) << year;
        }
        Retype(hDay, "");
        Retype(hYear, "2003");
        Type(hDay, "29");
        ASSERT_EQ(m_boxes.GetCount(), 1);
        EXPECT_STREQ(m_boxes.Last().text, "Value must be between 1 and 28");
        EXPECT_EQ(Text(hDay), "");
        m_boxes.Clear();
        Retype(hYear, "1979");
        ASSERT_EQ(m_boxes.GetCount(), 1);
        EXPECT_STREQ(m_boxes.Last().text, "Value must be between 1980 and 2030");
        m_boxes.Clear();
        // A year of fewer than four digits is incomplete without a message; Next stays on the page.
        Type(hYear, "20");
        Retype(hDay, "7");
        EXPECT_EQ(m_boxes.GetCount(), 0);
        EXPECT_EQ(page.OnWizardNext(), IDD_SERVER);
        EXPECT_STREQ(g_settings.szDate, "02/07/0020");
    });
}

TEST_F(PagesTest, ServerPageStoresTheTwelveHourClockAsTwentyFourHours) {
    struct Case {
        const char* hour;
        int nPm;
        const char* stored;
    };
    for (const Case& c :
         {Case{"12", 0, "00:42:00"}, Case{"12", 1, "12:42:00"}, Case{"1", 1, "13:42:00"}, Case{"9", 0, "09:42:00"}}) {
        CServerPage page;
        Run(page, [&](CWizardDlg*) {
            Retype(Item(page, IDC_SERVER_HOUR), c.hour);
            Retype(Item(page, IDC_SERVER_MINUTE), "42");
            ::SendMessageA(Item(page, IDC_SERVER_AM_PM), CB_SETCURSEL, static_cast<WPARAM>(c.nPm), 0);
            EXPECT_EQ(page.OnWizardNext(), 0);
            EXPECT_STREQ(g_settings.szTime, c.stored) << c.hour << " " << c.nPm;
        });
    }
    // An empty minute keeps the wizard on the page.
    CServerPage page;
    Run(page, [&](CWizardDlg*) {
        Retype(Item(page, IDC_SERVER_MINUTE), "");
        EXPECT_EQ(page.OnWizardNext(), IDD_SERVER);
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(PagesTest, ServerPageNameCharacters) {
    CServerPage page;
    Run(page, [&](CWizardDlg*) {
        HWND hName = Item(page, IDC_SERVER_NAME);
        HWND hWorkgroup = ::GetWindow(Item(page, IDC_SERVER_WORKGROUP), GW_CHILD);
        ASSERT_TRUE(hWorkgroup);
        for (const char* typed : {" ", "."}) {
            Retype(hName, "NAS");
            m_boxes.Clear();
            Type(hName, typed);
            ASSERT_EQ(m_boxes.GetCount(), 1) << typed;
            EXPECT_STREQ(m_boxes.Last().text, kServerNameChars);
        }
        Retype(hName, "NAS-2");
        m_boxes.Clear();
        Retype(hWorkgroup, "W");
        Type(hWorkgroup, ".");
        ASSERT_EQ(m_boxes.GetCount(), 1);
        EXPECT_STREQ(m_boxes.Last().text, kWorkgroupChars);
        m_boxes.Clear();
        Retype(hWorkgroup, "MY GROUP");
        EXPECT_EQ(m_boxes.GetCount(), 0);
        EXPECT_EQ(page.m_bComplete, 1);
        // Blanks around the name: refused while typed, so Next stays and stores the name trimmed.
        ::SetWindowTextA(hName, " NAS-2 ");
        EXPECT_EQ(m_boxes.GetCount(), 1);
        EXPECT_EQ(page.OnWizardNext(), IDD_SERVER);
        EXPECT_STREQ(g_settings.szServerName, "NAS-2");
        page.OnSetActive();
        EXPECT_EQ(Text(hName), "NAS-2");
        EXPECT_EQ(page.OnWizardNext(), 0);
        for (char c : g_settings.szNote) EXPECT_EQ(c, 0);
        EXPECT_STREQ(g_settings.szWorkgroup, "MY GROUP");
        // An empty name makes the page incomplete without a message.
        m_boxes.Clear();
        Retype(hName, "");
        EXPECT_EQ(m_boxes.GetCount(), 0);
        EXPECT_EQ(page.m_bComplete, 0);
    });
}

// ---- IP settings page ----

TEST_F(PagesTest, IpPageOctetChecksWhileTyping) {
    CIPSettingsPage page;
    Run(page, [&](CWizardDlg*) {
        EXPECT_EQ(page.m_bValid, 1);
        HWND hThird = Item(page, IDC_IP_ADDRESS_3);
        Retype(hThird, "25");
        EXPECT_EQ(m_boxes.GetCount(), 0);
        Type(hThird, "6");
        ASSERT_EQ(m_boxes.GetCount(), 1);
        EXPECT_STREQ(m_boxes.Last().text, "Value must be between 0 and 255");
        EXPECT_EQ(Text(hThird), "");
        EXPECT_EQ(page.m_bValid, 1) << "an empty address octet does not make the page invalid";
        // A pasted letter.
        m_boxes.Clear();
        ::SetWindowTextA(Item(page, IDC_IP_MASK_2), "2x5");
        ASSERT_EQ(m_boxes.GetCount(), 1);
        EXPECT_STREQ(m_boxes.Last().text, "must be numeric value");
        EXPECT_EQ(Text(Item(page, IDC_IP_MASK_2)), "2x5");
        EXPECT_EQ(page.m_bValid, 0);
        ::SetWindowTextA(Item(page, IDC_IP_MASK_2), "255");
        // An emptied gateway octet: invalid, no message; Next stores 0 and stays.
        m_boxes.Clear();
        Retype(Item(page, IDC_IP_GATEWAY_4), "");
        EXPECT_EQ(m_boxes.GetCount(), 0);
        EXPECT_EQ(page.m_bValid, 0);
        EXPECT_EQ(page.OnWizardNext(), IDD_IP_SETTINGS);
        EXPECT_EQ(g_settings.abGateway[3], 0);
        EXPECT_EQ(g_settings.abIpAddress[2], 0) << "the emptied address octet";
        page.OnSetActive();
        EXPECT_EQ(Text(Item(page, IDC_IP_GATEWAY_4)), "0");
        EXPECT_EQ(page.m_bValid, 1);
        EXPECT_EQ(page.OnWizardNext(), 0);
        // The range copies follow the address.
        EXPECT_EQ(Text(Item(page, IDC_IP_RANGE_START_1)), "192");
        EXPECT_EQ(Text(Item(page, IDC_IP_RANGE_FINISH_2)), "168");
        SaveArtifactScreenshot(page.GetParent()->m_hWnd, "ip_page_typed");
    });
}

TEST_F(PagesTest, IpPageReloadAfterAPastedLetterShowsNoMessage) {
    CIPSettingsPage page;
    Run(page, [&](CWizardDlg*) {
        ::SetWindowTextA(Item(page, IDC_IP_GATEWAY_4), "1x");
        ASSERT_EQ(m_boxes.GetCount(), 1);
        m_boxes.Clear();
        EXPECT_EQ(page.OnWizardNext(), IDD_IP_SETTINGS);
        EXPECT_EQ(g_settings.abGateway[3], 0) << "a text with a letter is stored as 0";
        page.OnSetActive();
        EXPECT_EQ(m_boxes.GetCount(), 0) << "the reload replaces the letter; it does not judge it octet by octet";
        EXPECT_EQ(Text(Item(page, IDC_IP_GATEWAY_4)), "0");
        EXPECT_EQ(page.m_bValid, 1);
        EXPECT_EQ(Text(Item(page, IDC_IP_RANGE_START_3)), "1") << "the range copies follow the loaded address";
        // A loaded page still judges what it loaded: an emptied last octet of the appliance's range (server on).
        g_settings.bDhcpServerOff = 0;
        page.OnSetActive();
        EXPECT_EQ(page.m_bValid, 0);
        EXPECT_EQ(m_boxes.GetCount(), 0);
    });
}

TEST_F(PagesTest, IpPageDhcpClientDisablesAndKeepsTheAddress) {
    CIPSettingsPage page;
    Run(page, [&](CWizardDlg*) {
        ::SendMessageA(Item(page, IDC_IP_DHCP_CLIENT), BM_CLICK, 0, 0);
        for (int nId : {IDC_IP_ADDRESS_1, IDC_IP_MASK_4, IDC_IP_GATEWAY_1, IDC_IP_ADDRESS_LABEL, IDC_IP_GATEWAY_LABEL})
            EXPECT_FALSE(::IsWindowEnabled(Item(page, nId))) << nId;
        EXPECT_EQ(page.OnWizardNext(), 0);
        EXPECT_EQ(g_settings.bFixedIp, 0);
        EXPECT_EQ(g_settings.abIpAddress[3], 20);
        SaveArtifactScreenshot(page.GetParent()->m_hWnd, "ip_page_dhcp_client");
    });
    // Loading a DHCP client shows no message even with strange values.
    g_settings.bFixedIp = 0;
    CIPSettingsPage again;
    Run(again, [&](CWizardDlg*) { EXPECT_FALSE(::IsWindowEnabled(Item(again, IDC_IP_ADDRESS_1))); });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(PagesTest, IpPageWithTheApplianceDhcpServerOnIsInvalidUntilStored) {
    g_settings.bDhcpServerOff = 0;
    CIPSettingsPage page;
    Run(page, [&](CWizardDlg*) {
        EXPECT_EQ(::IsDlgButtonChecked(page.m_hWnd, IDC_IP_DHCP_SERVER), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(page.m_bValid, 0);
        EXPECT_EQ(page.OnWizardNext(), IDD_IP_SETTINGS);
        EXPECT_EQ(g_settings.bDhcpServerOff, 1);
        page.OnSetActive();
        EXPECT_EQ(page.m_bValid, 1);
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

// ---- Summary page and the two dialogs ----

TEST_F(PagesTest, SummaryShowsTheRecord) {
    g_settings.bFixedIp = 0;  // the address last stored is still shown
    g_settings.nTimeZone = 4;
    CSummaryPage page;
    Run(page, [&](CWizardDlg*) {
        EXPECT_EQ(Text(Item(page, IDC_SUMMARY_NAME)), "NAS1");
        EXPECT_EQ(Text(Item(page, IDC_SUMMARY_ADDRESS)), "192.168.1.20");
        EXPECT_EQ(Text(Item(page, IDC_SUMMARY_MASK)), "255.255.255.0");
        EXPECT_EQ(Text(Item(page, IDC_SUMMARY_GATEWAY)), "192.168.1.1");
        EXPECT_EQ(Text(Item(page, IDC_SUMMARY_TIME_ZONE)), TimeZoneDisplayName(4));
        EXPECT_EQ(Text(Item(page, IDC_SUMMARY_DATE)), "12/08/2026");
        EXPECT_EQ(Text(Item(page, IDC_SUMMARY_TIME)), "23:15:00");
        SaveArtifactScreenshot(page.GetParent()->m_hWnd, "summary_page");
    });
}

TEST_F(PagesTest, ConfirmationCancelStaysAndSendsNothing) {
    CSummaryPage page;
    g_saveAttempted = true;
    Run(page, [&](CWizardDlg*) {
        int nConfirms = 0;
        CModalHook hook([&](CDialog* pDlg) {
            if (pDlg->GetTemplateID() == IDD_CONFIRM) {
                ++nConfirms;
                EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, IDOK)));
                EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, IDC_CONFIRM_EXIT)));
                SaveArtifactScreenshot(pDlg->m_hWnd, "confirm_dialog");
                pDlg->SendMessage(WM_COMMAND, IDCANCEL);
            } else {
                ADD_FAILURE() << "only the confirmation may open";
                pDlg->EndDialog(IDCANCEL);
            }
        });
        EXPECT_EQ(page.OnWizardNext(), WIZARD_STAY);
        EXPECT_EQ(nConfirms, 1);
    });
    EXPECT_FALSE(g_saveAttempted);
}

// Redo after a failed write starts the setup anew: a later Save that saves nothing (on a server page that is
// not complete, where Save acts as Next) leaves the bar as it is instead of showing the finish page's.
TEST_F(PagesTest, RedoAfterAFailedWriteLeavesNothingSaved) {
    g_selectedDevice = nullptr;  // the write fails at once
    CServerPage server;
    CSummaryPage summary;
    Run({&server, &summary}, [&](CWizardDlg* pDlg) {
        auto click = [&](int nId) { pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0); };
        auto shown = [&](int nId) { return ::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, nId)) != 0; };
        ASSERT_TRUE(pDlg->ActivatePage(&summary));
        pDlg->ShowButtons({IDC_BACK, IDC_SAVE});
        {
            // OK in the confirmation, then Redo in the failure notice.
            CModalHook answers(
                [&](CDialog* p) { p->SendMessage(WM_COMMAND, p->GetTemplateID() == IDD_CONFIRM ? IDOK : IDCANCEL); });
            click(IDC_SAVE);
        }
        EXPECT_EQ(g_noticeKind, 3);
        ASSERT_TRUE(pDlg->ActivatePage(&server));
        Retype(Item(server, IDC_SERVER_MINUTE), "");
        pDlg->ShowButtons({IDC_BACK, IDC_SAVE});
        click(IDC_SAVE);
        EXPECT_EQ(pDlg->GetActivePage(), &server);
        EXPECT_TRUE(shown(IDC_SAVE));
        EXPECT_FALSE(shown(IDC_EXIT));
        EXPECT_FALSE(shown(IDC_UTILITY));
    });
}

TEST(NoticeDialog, SavedNoticeClosesItselfAfterTwoSeconds) {
    CVirtualClock clock;
    clock.SetAutoAdvance(TRUE);
    g_noticeKind = 2;
    CModalHook hook([&](CDialog* pDlg) {
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, IDOK)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, IDCANCEL)));
        SaveArtifactScreenshot(pDlg->m_hWnd, "notice_saved");
    });
    CNoticeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(clock.Now(), 2000u);
}

TEST(NoticeDialog, FailureNoticeWaitsForItsButtonsAndEscIsRedo) {
    CVirtualClock clock;
    g_noticeKind = 3;
    for (int nAnswer : {IDOK, IDCANCEL}) {
        CModalHook hook([&](CDialog* pDlg) {
            clock.Advance(10000);  // the timer ticks but a failure notice stays
            EXPECT_TRUE(::IsWindowVisible(pDlg->m_hWnd));
            EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, IDCANCEL)));
            if (nAnswer == IDOK) SaveArtifactScreenshot(pDlg->m_hWnd, "notice_failed");
            if (nAnswer == IDCANCEL)
                ::SendMessageA(pDlg->m_hWnd, WM_COMMAND, IDCANCEL, 0);  // what Esc sends
            else
                ::SendMessageA(::GetDlgItem(pDlg->m_hWnd, IDOK), BM_CLICK, 0, 0);
        });
        CNoticeDlg dlg;
        EXPECT_EQ(dlg.DoModal(), nAnswer);
    }
}

TEST(NoticeDialog, ShortcutNoticeNamesTheServer) {
    CVirtualClock clock;
    clock.SetAutoAdvance(TRUE);
    g_noticeKind = 1;
    memset(g_settings.szServerName, 'N', sizeof g_settings.szServerName);  // unterminated: stays in its 15 bytes
    CModalHook hook([&](CDialog* pDlg) {
        EXPECT_EQ(Text(::GetDlgItem(pDlg->m_hWnd, IDC_NOTICE_TEXT)), std::string(15, 'N'));
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, IDC_NOTICE_ICON)));
        SaveArtifactScreenshot(pDlg->m_hWnd, "notice_shortcut");
    });
    CNoticeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOW);
    return RUN_ALL_TESTS();
}
