// The server page's workgroup list under Wine, filled through Wine's own router (mpr) from a network
// neighbourhood that the project's network provider serves. The provider runs under the name the page looks
// for ("ztnpreg run --name ...", Workgroups.*) or under its own name, as in the demo (NoNeighbourhood.*, also
// run without any provider). The workgroups are the provider's state, set with "ztnpreg workgroups" before
// each drop-down.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../../res/resource.h"
#include "../DeviceListPage.h"
#include "../ServerPage.h"
#include "../WizardDlg.h"
#include "../WizardState.h"
#include "Framework.h"
#include "MessageBoxRecorder.h"
#include "RunProcess.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

std::string g_ztnpreg;  // DOS path of the provider's tool

int RunTool(const std::string& args) {
    return RunProcess("\"" + g_ztnpreg + "\" " + args);
}

void SetWorkgroups(const std::vector<std::string>& names) {
    std::string args = "workgroups";
    for (const std::string& name : names) args += " \"" + name + "\"";
    ASSERT_EQ(RunTool(args), 0);
}

std::string Text(HWND hWnd) {
    char sz[256] = "";
    ::GetWindowTextA(hWnd, sz, sizeof sz);
    return sz;
}

std::vector<std::string> Items(HWND hCombo) {
    std::vector<std::string> items;
    const LRESULT nCount = ::SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        char sz[256] = "";
        if (::SendMessageA(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < static_cast<LRESULT>(sizeof sz))
            ::SendMessageA(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(sz));
        items.push_back(sz);
    }
    return items;
}

using Names = std::vector<std::string>;

// The server page in the wizard window with a valid record whose workgroup each case sets.
class WorkgroupList : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(g_ztnpreg.empty()) << "--ztnpreg=PATH missing";
        g_settings = DeviceSettings{};
        strcpy(g_settings.szServerName, "NAS1");
        strcpy(g_settings.szDate, "12/08/2026");
        strcpy(g_settings.szTime, "23:15:00");
        g_settings.nTimeZone = 22;
    }
    void Stored(const char* pszWorkgroup) {
        memset(g_settings.szWorkgroup, 0, sizeof g_settings.szWorkgroup);
        strncpy(g_settings.szWorkgroup, pszWorkgroup, sizeof g_settings.szWorkgroup - 1);
    }
    // Runs the page; body gets the combo box and its edit.
    void Run(std::function<void(CServerPage&, HWND, HWND)> body) {
        CWizardDlg dlg;
        CServerPage page;
        dlg.AddPage(&page, page.m_nPageId);
        CModalHook hook([&](CDialog* pDlg) {
            if (pDlg != &dlg) return;
            HWND hCombo = ::GetDlgItem(page.m_hWnd, IDC_SERVER_WORKGROUP);
            body(page, hCombo, ::GetWindow(hCombo, GW_CHILD));
            if (dlg.ContinueModal()) dlg.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
    }
    // Opens the list as a click on its arrow does (the page refills it then) and closes it again.
    static void DropDown(HWND hCombo) {
        ::SendMessageA(hCombo, CB_SHOWDROPDOWN, TRUE, 0);
        ::SendMessageA(hCombo, CB_SHOWDROPDOWN, FALSE, 0);
    }
    // The notification alone, as the combo box sends it before it drops: what the page leaves behind, before
    // the platform's own closing of the list acts on it.
    static void Notify(CServerPage& page, HWND hCombo) {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER_WORKGROUP, CBN_DROPDOWN), reinterpret_cast<LPARAM>(hCombo));
    }
    static int Selection(HWND hCombo) { return static_cast<int>(::SendMessageA(hCombo, CB_GETCURSEL, 0, 0)); }

    CMessageBoxRecorder m_boxes;
};

class Workgroups : public WorkgroupList {};
class NoNeighbourhood : public WorkgroupList {
protected:
    void TearDown() override { RunTool("workgroups"); }
};

}  // namespace

TEST_F(Workgroups, NamesAppearSortedAndWhatWasTypedStays) {
    SetWorkgroups({"ZULU", "LAB", "ALPHA", "MIKE", "LABS2"});
    Stored("LAB");
    Run([&](CServerPage& page, HWND hCombo, HWND hEdit) {
        DropDown(hCombo);
        EXPECT_EQ(Items(hCombo), (Names{"ALPHA", "LAB", "LABS2", "MIKE", "ZULU"}));
        EXPECT_EQ(Selection(hCombo), 1);
        EXPECT_EQ(Text(hEdit), "LAB");
        EXPECT_EQ(page.m_bComplete, 1);
        // A name the user typed stays when the list opens and closes, one of the list or not, and Next stores it.
        ::SetWindowTextA(hEdit, "ZULU");
        DropDown(hCombo);
        EXPECT_EQ(Text(hEdit), "ZULU");
        EXPECT_EQ(Selection(hCombo), 4);
        ::SetWindowTextA(hEdit, "MY GROUP");
        DropDown(hCombo);
        EXPECT_EQ(Text(hEdit), "MY GROUP");
        EXPECT_EQ(page.OnWizardNext(), 0);
        EXPECT_STREQ(g_settings.szWorkgroup, "MY GROUP");
        // Each drop-down asks the network again: a changed neighbourhood shows, nothing is kept twice.
        SetWorkgroups({"LAB", "NEW"});
        DropDown(hCombo);
        EXPECT_EQ(Items(hCombo), (Names{"LAB", "NEW"}));
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(Workgroups, PrefixSearchStartsAfterTheFirstItemAndWrapsRound) {
    SetWorkgroups({"ALPHA", "ALPHA2", "BRAVO", "LAB", "LABS2"});
    struct Case {
        const char* stored;
        int selection;
    };
    // The search begins at the second item, so a prefix of the first item and a later one finds the later;
    // the first item is found only when nothing after it matches; case does not matter; no match: none.
    const Case cases[] = {{"ALPHA", 1}, {"LABS", 4}, {"lab", 3}, {"BR", 2}, {"Q", CB_ERR}};
    for (const Case& c : cases) {
        Stored(c.stored);
        Run([&](CServerPage& page, HWND hCombo, HWND hEdit) {
            Notify(page, hCombo);
            EXPECT_EQ(Items(hCombo).size(), 5u);
            EXPECT_EQ(Selection(hCombo), c.selection) << c.stored;
            EXPECT_EQ(Text(hEdit), c.stored);
        });
    }
    SetWorkgroups({"ALPHA", "BRAVO"});
    Stored("AL");
    Run([&](CServerPage& page, HWND hCombo, HWND) {
        Notify(page, hCombo);
        EXPECT_EQ(Selection(hCombo), 0) << "wrapped round to the first item";
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(Workgroups, AnEntryTooBigForTheFetchEndsTheList) {
    // Two short entries fit into the 320 bytes of one fetch; the long one fits into no fetch, so the list
    // ends before it and the one after it is never asked for.
    const std::string longName(130, 'L');
    SetWorkgroups({"BBB", "AAA", longName, "CCC"});
    Stored("CCC");
    Run([&](CServerPage&, HWND hCombo, HWND hEdit) {
        DropDown(hCombo);
        EXPECT_EQ(Items(hCombo), (Names{"AAA", "BBB"}));
        EXPECT_EQ(Selection(hCombo), CB_ERR);
        EXPECT_EQ(Text(hEdit), "CCC");
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(Workgroups, AnEmptyNeighbourhoodGivesAnEmptyList) {
    SetWorkgroups({});
    Stored("LAB");
    Run([&](CServerPage&, HWND hCombo, HWND hEdit) {
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("OLD"));
        DropDown(hCombo);
        EXPECT_TRUE(Items(hCombo).empty());
        EXPECT_EQ(Text(hEdit), "LAB");
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

TEST_F(NoNeighbourhood, WithoutTheProviderTheListStaysEmptyAndNothingIsShown) {
    SetWorkgroups({"LAB", "ZULU"});  // there, but under a provider name the page does not look for
    Stored("LAB");
    Run([&](CServerPage&, HWND hCombo, HWND hEdit) {
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("OLD"));
        ::SetWindowTextA(hEdit, "TYPED");
        DropDown(hCombo);
        EXPECT_TRUE(Items(hCombo).empty());
        EXPECT_EQ(Selection(hCombo), CB_ERR);
        EXPECT_EQ(Text(hEdit), "TYPED");
    });
    EXPECT_EQ(m_boxes.GetCount(), 0);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "--ztnpreg=", 10) == 0) {
            g_ztnpreg = std::string("Z:") + (argv[i] + 10);
            for (char& c : g_ztnpreg)
                if (c == '/') c = '\\';
        }
    return RUN_ALL_TESTS();
}
