// The wizard window under Wine with pages whose answers each test chooses: activation, Next, Back, finish,
// cancel, the button-bar rules and flags, the window's region, dragging and colours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../../res/art/ArtIds.h"
#include "../../res/resource.h"
#include "../../widgets/SubclassWnd.h"
#include "../WizardDlg.h"
#include "../WizardState.h"
#include "Framework.h"
#include "MessageBoxRecorder.h"
#include "MessagePump.h"
#include "Screenshot.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

// A page whose answers the test sets and whose hooks are counted.
class CTestPage : public CWizardPage {
public:
    CTestPage(UINT nId, UINT nBitmapId) : CWizardPage(nId, nBitmapId) {}
    int m_nNext = 0, m_nBack = 0;
    BOOL m_bCreate = TRUE, m_bKill = TRUE, m_bCancel = TRUE, m_bFinish = TRUE;
    std::function<void()> m_onNext;  // runs inside OnWizardNext (the summary page's apply)
    int m_nCreates = 0, m_nDestroys = 0, m_nKills = 0, m_nSetActives = 0, m_nNexts = 0, m_nBacks = 0, m_nFinishes = 0,
        m_nQueries = 0;

    BOOL OnCreatePage() override { return ++m_nCreates, m_bCreate; }
    void OnDestroyPage() override { ++m_nDestroys; }
    BOOL OnKillActive() override { return ++m_nKills, m_bKill; }
    void OnSetActive() override { ++m_nSetActives; }
    BOOL OnQueryCancel() override { return ++m_nQueries, m_bCancel; }
    int OnWizardBack() override { return ++m_nBacks, m_nBack; }
    int OnWizardNext() override {
        ++m_nNexts;
        if (m_onNext) m_onNext();
        return m_nNext;
    }
    BOOL OnWizardFinish() override { return ++m_nFinishes, m_bFinish; }
};

const int kBar[] = {IDC_SETUP,    IDC_UTILITY,  IDC_USER_GUIDE, IDC_NEXT,   IDC_BACK,     IDC_SAVE,
                    IDC_ADVANCED, IDC_SHORTCUT, IDC_EXIT,       IDC_FINISH, IDC_MINIMIZE, IDC_CLOSE};

// The visible buttons of the bar, in kBar order.
std::vector<int> Visible(CWnd* pDlg) {
    std::vector<int> ids;
    for (int nId : kBar)
        if (::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, nId))) ids.push_back(nId);
    return ids;
}
std::vector<int> Bar(std::initializer_list<int> ids) {
    std::vector<int> v;
    for (int nId : kBar)
        for (int n : ids)
            if (n == nId) v.push_back(nId);
    v.push_back(IDC_MINIMIZE);
    v.push_back(IDC_CLOSE);
    return v;
}

void Click(CWnd* pDlg, int nId) {
    pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(*pDlg, nId)));
}

// Records the commands and non-client presses that reach the wizard window; swallows the presses.
class CRecorder : public CSubclassWnd {
public:
    std::vector<WPARAM> m_commands;
    std::vector<std::pair<WPARAM, LPARAM>> m_ncPresses;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) m_commands.push_back(wParam);
        if (message == WM_NCLBUTTONDOWN) {
            m_ncPresses.push_back({wParam, lParam});
            return 0;
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
};

class WizardWindow : public testing::Test {
protected:
    void SetUp() override {
        g_lastPageIndex = 0;
        g_settingsRead = g_passwordPassed = g_redoSearch = g_closeAfterSave = g_saveAttempted = false;
        const UINT ids[6] = {IDD_WELCOME, IDD_DEVICE_LIST, IDD_IP_SETTINGS, IDD_SERVER, IDD_SUMMARY, IDD_FINISH};
        const UINT bitmaps[6] = {IDB_WELCOME, IDB_DEVICE_LIST, IDB_IP_SETTINGS, IDB_SERVER, IDB_SUMMARY, IDB_FINISH};
        for (int i = 0; i < 6; ++i) {
            m_pages.emplace_back(new CTestPage(ids[i], bitmaps[i]));
            m_dlg.AddPage(m_pages.back(), ids[i]);
        }
    }
    void TearDown() override {
        for (CTestPage* p : m_pages) delete p;
    }
    // Runs the wizard modally; body runs inside its loop and should end it.
    INT_PTR Run(std::function<void(CWizardDlg*)> body) {
        CModalHook hook([&](CDialog* pDlg) {
            if (pDlg != &m_dlg) return;
            m_recorder.HookWindow(pDlg);
            body(&m_dlg);
            if (m_dlg.ContinueModal()) m_dlg.EndDialog(-2);
        });
        return m_dlg.DoModal();
    }
    CTestPage& Page(int i) { return *m_pages[static_cast<size_t>(i)]; }
    int Active() { return m_dlg.GetActiveIndex(); }

    CWizardDlg m_dlg;
    std::vector<CTestPage*> m_pages;
    CRecorder m_recorder;
};

}  // namespace

TEST_F(WizardWindow, StartsOnTheFirstPageWithTheWelcomeBar) {
    EXPECT_EQ(Run([&](CWizardDlg* pDlg) {
                  EXPECT_EQ(Active(), 0);
                  EXPECT_TRUE(Page(0).m_bCreated);
                  EXPECT_EQ(Page(0).m_pSheet, &m_dlg);
                  EXPECT_EQ(Page(0).m_nCreates, 1);
                  EXPECT_EQ(Page(0).m_nSetActives, 1);
                  for (int i = 1; i < 6; ++i) EXPECT_FALSE(Page(i).m_bCreated) << i;
                  EXPECT_TRUE(pDlg->m_bDrag);
                  EXPECT_TRUE(pDlg->GetExStyle() & WS_EX_CONTROLPARENT);

                  CString strTitle;
                  pDlg->GetWindowText(strTitle);
                  EXPECT_STREQ(strTitle, "Setup Wizard");
                  EXPECT_EQ(::FindWindowA(nullptr, "Setup Wizard"), pDlg->m_hWnd);
                  CString strText;
                  pDlg->GetDlgItemText(ID_WIZARD_SHEET_NEXT, strText);
                  EXPECT_STREQ(strText, "Setup");
                  pDlg->GetDlgItemText(ID_WIZARD_SHEET_BACK, strText);
                  EXPECT_STREQ(strText, "Install");

                  EXPECT_EQ(Visible(pDlg), Bar({IDC_SETUP, IDC_UTILITY, IDC_USER_GUIDE, IDC_EXIT}));
                  for (int nId : kBar) {
                      if (nId == IDC_FINISH) continue;
                      CRect rc;
                      ::GetWindowRect(::GetDlgItem(*pDlg, nId), &rc);
                      EXPECT_EQ(rc.Size(), CSize(88, 26)) << nId;
                  }
                  // The page sits at the placeholder's corner, with its own size.
                  CRect rcPlace, rcPage;
                  pDlg->GetDlgItem(IDC_WIZARD_PLACEHOLDER)->GetWindowRect(&rcPlace);
                  Page(0).GetWindowRect(&rcPage);
                  EXPECT_EQ(rcPage.TopLeft().x, rcPlace.left);
                  EXPECT_EQ(rcPage.TopLeft().y, rcPlace.top);
                  EXPECT_EQ(rcPage.Size(), rcPlace.Size());
                  EXPECT_TRUE(Page(0).IsWindowVisible());
                  SaveArtifactScreenshot(pDlg->m_hWnd, "wizard_welcome");
                  pDlg->EndDialog(IDOK);
              }),
              IDOK);
}

TEST_F(WizardWindow, BackOnTheWelcomePageDoesNothingAndSetupGoesToTheDeviceList) {
    Run([&](CWizardDlg* pDlg) {
        g_lastPageIndex = 7;
        Click(pDlg, ID_WIZARD_SHEET_BACK);
        EXPECT_EQ(Active(), 0);
        EXPECT_EQ(g_lastPageIndex, 0);
        EXPECT_EQ(Page(0).m_nBacks, 0);
        EXPECT_EQ(Page(0).m_nSetActives, 1);

        Click(pDlg, IDC_SETUP);
        EXPECT_EQ(Active(), 1);
        EXPECT_FALSE(Page(0).IsWindowVisible());
        EXPECT_TRUE(Page(1).IsWindowVisible());
        EXPECT_EQ(Page(0).m_nKills, 1);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_NEXT, IDC_BACK}));
        SaveArtifactScreenshot(pDlg->m_hWnd, "wizard_device_list");

        // Back from the device list restores the welcome page's buttons.
        Click(pDlg, IDC_BACK);
        EXPECT_EQ(Active(), 0);
        EXPECT_EQ(g_lastPageIndex, 1);
        EXPECT_EQ(Page(0).m_nSetActives, 2);
        EXPECT_EQ(Page(0).m_nCreates, 1) << "created once";
        EXPECT_EQ(Visible(pDlg), Bar({IDC_SETUP, IDC_UTILITY, IDC_USER_GUIDE, IDC_EXIT}));
    });
}

TEST_F(WizardWindow, NextFollowsTheFlagsAndThePagesAnswers) {
    Run([&](CWizardDlg* pDlg) {
        Click(pDlg, IDC_SETUP);
        // No appliance selected: the page keeps the wizard, the buttons stay.
        Page(1).m_nNext = WIZARD_STAY;
        pDlg->ShowButtons({IDC_NEXT});
        Click(pDlg, IDC_NEXT);
        EXPECT_EQ(Active(), 1);
        EXPECT_EQ(Page(1).m_nSetActives, 1);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_NEXT}));
        // Settings not read yet: the page lets the wizard on, the buttons still stay.
        Page(1).m_nNext = 0;
        Click(pDlg, IDC_NEXT);
        EXPECT_EQ(Active(), 2);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_NEXT}));
        // Read and passed: Next and Back.
        g_settingsRead = g_passwordPassed = true;
        Click(pDlg, IDC_NEXT);
        EXPECT_EQ(Active(), 3);
        EXPECT_EQ(g_lastPageIndex, 2);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_NEXT, IDC_BACK}));
        // Read but not passed: unchanged.
        g_passwordPassed = false;
        Click(pDlg, IDC_BACK);
        pDlg->ShowButtons({IDC_NEXT, IDC_SAVE});
        Click(pDlg, IDC_NEXT);
        EXPECT_EQ(Active(), 3);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_NEXT, IDC_SAVE}));
        // Leaving the server page shows only Back and Save.
        g_passwordPassed = true;
        Click(pDlg, IDC_NEXT);
        EXPECT_EQ(Active(), 4);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_BACK, IDC_SAVE}));
        SaveArtifactScreenshot(pDlg->m_hWnd, "wizard_summary");
    });
}

TEST_F(WizardWindow, IncompleteServerPageStaysReloadedButTheBarSwitchesToBackAndSave) {
    Run([&](CWizardDlg* pDlg) {
        Click(pDlg, IDC_SETUP);
        g_settingsRead = g_passwordPassed = true;
        Click(pDlg, IDC_NEXT);
        Click(pDlg, IDC_NEXT);
        ASSERT_EQ(Active(), 3);
        Page(3).m_nNext = IDD_SERVER;
        const int nSetActives = Page(3).m_nSetActives, nKills = Page(3).m_nKills;
        Click(pDlg, IDC_NEXT);
        EXPECT_EQ(Active(), 3);
        EXPECT_EQ(Page(3).m_nSetActives, nSetActives + 1) << "re-activated";
        EXPECT_EQ(Page(3).m_nKills, nKills + 1);
        EXPECT_TRUE(Page(3).IsWindowVisible());
        EXPECT_EQ(Visible(pDlg), Bar({IDC_BACK, IDC_SAVE}));
        // Save then acts as Next for that page.
        Page(3).m_nNext = 0;
        Click(pDlg, IDC_SAVE);
        EXPECT_EQ(Active(), 4);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_BACK, IDC_SAVE})) << "no flag set: unchanged";
    });
}

TEST_F(WizardWindow, PageIdsJumpAndUnknownIdsStay) {
    Run([&](CWizardDlg* pDlg) {
        // Each step: the active page's answer to Next or Back, and the page active after that button.
        struct Step {
            int CTestPage::*pAnswer;
            int nAnswer;
            int nActive;
        };
        const Step steps[] = {{&CTestPage::m_nNext, IDD_SUMMARY, 4},
                              {&CTestPage::m_nNext, 999, 4},
                              {&CTestPage::m_nBack, IDD_DEVICE_LIST, 1},
                              {&CTestPage::m_nBack, 999, 1},
                              {&CTestPage::m_nBack, WIZARD_STAY, 1}};
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        for (const Step& step : steps) {
            const bool bNext = step.pAnswer == &CTestPage::m_nNext;
            const int nFrom = Active();
            Page(nFrom).*step.pAnswer = step.nAnswer;
            Click(pDlg, bNext ? ID_WIZARD_SHEET_NEXT : ID_WIZARD_SHEET_BACK);
            EXPECT_EQ(Active(), step.nActive) << (bNext ? "next " : "back ") << step.nAnswer << " from " << nFrom;
        }
        EXPECT_FALSE(Page(2).m_bCreated) << "skipped pages are not created";
        Page(1).m_nBack = 0;
        Page(1).m_nNext = 0;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        Click(pDlg, IDC_BACK);
        EXPECT_EQ(Active(), 1);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_NEXT, IDC_BACK})) << "back to a page other than the welcome page";
    });
}

TEST_F(WizardWindow, RefusingPagesKeepTheWizardWhereItIs) {
    Run([&](CWizardDlg* pDlg) {
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        // The active page refuses to go: the target is created but not shown.
        Page(1).m_bKill = FALSE;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        EXPECT_EQ(Active(), 1);
        EXPECT_TRUE(Page(1).IsWindowVisible());
        EXPECT_TRUE(Page(2).m_bCreated);
        EXPECT_EQ(Page(2).m_nSetActives, 0);
        EXPECT_FALSE(Page(2).IsWindowVisible());
        Page(1).m_bKill = TRUE;
        // A page that fails its creation is never shown, and is not created again.
        Page(2).m_bKill = TRUE;
        Page(1).m_nNext = IDD_SERVER;
        Page(3).m_bCreate = FALSE;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        EXPECT_EQ(Active(), 1);
        EXPECT_EQ(Page(3).m_nCreates, 1);
        EXPECT_EQ(Page(1).m_nKills, 1) << "the active page was not asked";
        Page(1).m_nNext = 0;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        EXPECT_EQ(Active(), 2);
        EXPECT_EQ(Page(2).m_nCreates, 1);
        EXPECT_TRUE(Page(2).IsWindowVisible());
        pDlg->EndDialog(IDOK);
    });
    // Destruction: every created page that lets go is destroyed.
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(Page(i).m_nDestroys, 1) << i;
        EXPECT_FALSE(Page(i).m_bCreated) << i;
        EXPECT_FALSE(Page(i).m_hWnd) << i;
    }
    EXPECT_EQ(Page(4).m_nDestroys, 0);
}

TEST_F(WizardWindow, SaveWithTheApplyOutcomes) {
    Run([&](CWizardDlg* pDlg) {
        Click(pDlg, IDC_SETUP);
        Page(1).m_nNext = IDD_SUMMARY;
        g_settingsRead = true;
        g_lastPageIndex = 3;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        pDlg->ShowButtons({IDC_BACK, IDC_SAVE});
        ASSERT_EQ(Active(), 4);

        // The confirmation is cancelled: the summary stays, the buttons too.
        Page(4).m_nNext = WIZARD_STAY;
        Click(pDlg, IDC_SAVE);
        EXPECT_EQ(Active(), 4);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_BACK, IDC_SAVE}));

        // A failed apply and Redo: the device list with Next and Back, and the flag is cleared.
        Page(4).m_nNext = IDD_DEVICE_LIST;
        Page(4).m_onNext = [] { g_redoSearch = true; };
        Click(pDlg, IDC_SAVE);
        EXPECT_EQ(Active(), 1);
        EXPECT_FALSE(g_redoSearch);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_NEXT, IDC_BACK}));

        // A successful apply: the finish page with the utility and Exit, and the utility is offered.
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        pDlg->ShowButtons({IDC_BACK, IDC_SAVE});
        Page(4).m_nNext = 0;
        Page(4).m_onNext = [] { g_saveAttempted = true; };
        m_recorder.m_commands.clear();
        CMessageBoxRecorder boxes;
        boxes.QueueAnswer(IDNO);
        Click(pDlg, IDC_SAVE);
        EXPECT_EQ(Active(), 5);
        EXPECT_EQ(Visible(pDlg), Bar({IDC_UTILITY, IDC_EXIT}));
        PumpMessages();
        ASSERT_GE(m_recorder.m_commands.size(), 2u);
        EXPECT_EQ(LOWORD(m_recorder.m_commands.back()), IDC_ADVANCED);
        ASSERT_EQ(boxes.GetCount(), 1) << "the utility is offered";
        EXPECT_STREQ(boxes.Last().text, "Do you want to install Drivelet utility");
        SaveArtifactScreenshot(pDlg->m_hWnd, "wizard_finish");
        pDlg->EndDialog(IDOK);
    });
}

TEST_F(WizardWindow, FailedApplyWithExitClosesTheWizard) {
    const INT_PTR nResult = Run([&](CWizardDlg* pDlg) {
        Page(0).m_nNext = IDD_SUMMARY;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        Page(4).m_nNext = WIZARD_STAY;
        Page(4).m_onNext = [] {
            g_closeAfterSave = true;
            g_saveAttempted = true;
        };
        Click(pDlg, IDC_SAVE);
        EXPECT_TRUE(pDlg->ContinueModal()) << "closes through a posted cancel";
        PumpMessages();
        EXPECT_FALSE(pDlg->ContinueModal());
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(Page(0).m_nQueries, 1);
    EXPECT_EQ(Page(4).m_nQueries, 1);
    EXPECT_EQ(Page(2).m_nQueries, 0) << "pages never created are not asked";
}

TEST_F(WizardWindow, FinishFromTheLastPageAsksEveryCreatedPage) {
    const INT_PTR nResult = Run([&](CWizardDlg* pDlg) {
        Page(0).m_nNext = IDD_FINISH;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        ASSERT_EQ(Active(), 5);
        // A refusing page stops the finish.
        Page(5).m_bKill = FALSE;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        EXPECT_EQ(Page(5).m_nNexts, 1) << "its answer is ignored, but it is asked";
        EXPECT_EQ(Page(0).m_nFinishes, 0);
        EXPECT_TRUE(pDlg->ContinueModal());
        Page(5).m_bKill = TRUE;
        Page(0).m_bFinish = FALSE;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        EXPECT_EQ(Page(0).m_nFinishes, 1);
        EXPECT_EQ(Page(5).m_nFinishes, 0) << "stops at the first FALSE";
        EXPECT_TRUE(pDlg->ContinueModal());
        Page(0).m_bFinish = TRUE;
        Page(5).m_nNext = WIZARD_STAY;
        Click(pDlg, ID_WIZARD_SHEET_NEXT);
        EXPECT_FALSE(pDlg->ContinueModal());
    });
    EXPECT_EQ(nResult, ID_WIZARD_FINISH);
    EXPECT_EQ(g_lastPageIndex, 5);
    EXPECT_EQ(Page(3).m_nFinishes, 0);
}

TEST_F(WizardWindow, CancelNeedsEveryCreatedPageAndEnterDoesNotClose) {
    const INT_PTR nResult = Run([&](CWizardDlg* pDlg) {
        Click(pDlg, IDC_SETUP);
        Page(1).m_bCancel = FALSE;
        Click(pDlg, IDC_CLOSE);
        EXPECT_TRUE(pDlg->ContinueModal());
        Click(pDlg, IDC_EXIT);
        PumpMessages();
        EXPECT_TRUE(pDlg->ContinueModal());
        // Esc and Enter on a page: neither the page nor the wizard ends.
        Page(1).SendMessage(WM_COMMAND, IDCANCEL);
        Page(1).SendMessage(WM_COMMAND, IDOK);
        pDlg->SendMessage(WM_COMMAND, IDOK);
        EXPECT_TRUE(Page(1).IsWindowVisible());
        EXPECT_TRUE(pDlg->ContinueModal());
        Page(1).m_bCancel = TRUE;
        Click(pDlg, IDC_EXIT);
        EXPECT_TRUE(pDlg->ContinueModal()) << "Exit posts the close";
        PumpMessages();
        EXPECT_FALSE(pDlg->ContinueModal());
    });
    EXPECT_EQ(nResult, IDCANCEL);
}

TEST_F(WizardWindow, MinimiseButton) {
    Run([&](CWizardDlg* pDlg) {
        Click(pDlg, IDC_MINIMIZE);
        EXPECT_TRUE(pDlg->IsIconic());
        pDlg->ShowWindow(SW_RESTORE);
        EXPECT_FALSE(pDlg->IsIconic());
    });
}

TEST_F(WizardWindow, RoundedRegionAtEverySize) {
    Run([&](CWizardDlg* pDlg) {
        auto check = [&](const char* pszWhen) {
            CRect rc;
            pDlg->GetWindowRect(&rc);
            const int w = rc.Width(), h = rc.Height();
            HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
            ASSERT_NE(::GetWindowRgn(pDlg->m_hWnd, hRgn), ERROR) << pszWhen;
            EXPECT_FALSE(::PtInRegion(hRgn, 1, 1)) << pszWhen;
            EXPECT_FALSE(::PtInRegion(hRgn, w - 3, h - 3)) << pszWhen;
            EXPECT_FALSE(::PtInRegion(hRgn, w - 3, 2)) << pszWhen;
            EXPECT_FALSE(::PtInRegion(hRgn, 2, h - 3)) << pszWhen;
            EXPECT_TRUE(::PtInRegion(hRgn, 7, 7)) << pszWhen;
            EXPECT_TRUE(::PtInRegion(hRgn, w - 7, h - 7)) << pszWhen;
            EXPECT_TRUE(::PtInRegion(hRgn, w / 2, 0)) << pszWhen;
            EXPECT_TRUE(::PtInRegion(hRgn, w - 1, h / 2)) << pszWhen;
            EXPECT_TRUE(::PtInRegion(hRgn, w / 2, h - 1)) << pszWhen;
            EXPECT_TRUE(::PtInRegion(hRgn, 0, h / 2)) << pszWhen;
            ::DeleteObject(hRgn);
        };
        check("at start");
        pDlg->SetWindowPos(nullptr, 0, 0, 700, 420, SWP_NOMOVE | SWP_NOZORDER);
        check("larger");
        CRect rc;
        pDlg->GetWindowRect(&rc);
        EXPECT_EQ(rc.Size(), CSize(700, 420));
        pDlg->SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        check("smaller");
    });
}

TEST_F(WizardWindow, PressOnTheBackgroundDragsThePressOnAPageDoesNot) {
    Run([&](CWizardDlg* pDlg) {
        // The band above the page.
        Click(pDlg, IDC_SETUP);
        const CPoint band(100, 20);
        pDlg->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(band.x, band.y));
        PumpMessages();
        ASSERT_EQ(m_recorder.m_ncPresses.size(), 1u);
        EXPECT_EQ(m_recorder.m_ncPresses[0].first, static_cast<WPARAM>(HTCAPTION));
        CPoint screen = band;
        pDlg->ClientToScreen(&screen);
        EXPECT_EQ(AFX_X_LPARAM(m_recorder.m_ncPresses[0].second), screen.x);
        EXPECT_EQ(AFX_Y_LPARAM(m_recorder.m_ncPresses[0].second), screen.y);
        // A press on the page is the page's.
        Page(1).SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
        PumpMessages();
        EXPECT_EQ(m_recorder.m_ncPresses.size(), 1u);
        // Without the drag flag nothing moves.
        pDlg->m_bDrag = FALSE;
        pDlg->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(band.x, band.y));
        PumpMessages();
        EXPECT_EQ(m_recorder.m_ncPresses.size(), 1u);
    });
}

TEST_F(WizardWindow, ControlColoursOfTheSheetAndThePages) {
    Run([&](CWizardDlg* pDlg) {
        HDC hDC = ::GetDC(pDlg->m_hWnd);
        HWND hStatic = ::GetDlgItem(Page(0).m_hWnd, IDC_PAGE_BACKGROUND_STATIC);
        auto brushColour = [](LRESULT r) {
            LOGBRUSH lb{};
            ::GetObjectA(reinterpret_cast<HBRUSH>(r), sizeof lb, &lb);
            return lb.lbColor;
        };
        LRESULT r =
            Page(0).SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hStatic));
        EXPECT_EQ(brushColour(r), RGB(255, 255, 255));
        EXPECT_EQ(::GetTextColor(hDC), RGB(0, 0, 0));
        EXPECT_EQ(::GetBkColor(hDC), RGB(255, 255, 255));
        r = Page(0).SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC),
                                reinterpret_cast<LPARAM>(Page(0).m_hWnd));
        EXPECT_EQ(brushColour(r), RGB(255, 255, 255));

        ::SetTextColor(hDC, RGB(1, 2, 3));
        r = pDlg->SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC),
                              reinterpret_cast<LPARAM>(::GetDlgItem(*pDlg, IDC_SETUP)));
        EXPECT_EQ(brushColour(r), RGB(31, 27, 64));
        EXPECT_EQ(::GetTextColor(hDC), RGB(0, 0, 0));
        EXPECT_EQ(::GetBkColor(hDC), RGB(31, 27, 64));
        r = pDlg->SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(pDlg->m_hWnd));
        EXPECT_EQ(brushColour(r), RGB(31, 27, 64));
        ::ReleaseDC(pDlg->m_hWnd, hDC);
    });
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    return RUN_ALL_TESTS();
}
