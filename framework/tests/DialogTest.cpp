// Dialogs under Wine: message-map dispatch, data exchange, EndDialog results, nested modal loops, posted
// message order, and pages as child dialogs.
#include <gtest/gtest.h>

#include "MessageBoxRecorder.h"
#include "WineTestSupport.h"

namespace {

// A modeless IDD_TEST for tests that need a live dialog without a modal loop.
struct ModelessTestDlg : CTestDlg {
    ModelessTestDlg() { EXPECT_TRUE(Create(IDD_TEST)); }
    ~ModelessTestDlg() override { DestroyWindow(); }
};

class CDerivedDlg : public CTestDlg {
protected:
    afx_msg void OnDerivedButton() { Log("derived"); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CDerivedDlg, CTestDlg)
    ON_BN_CLICKED(IDC_BUTTON, OnDerivedButton)
END_MESSAGE_MAP()
// clang-format on

}  // namespace

TEST(MessageMap, CommandsNotificationsAndUserMessagesReachTheirHandlers) {
    ModelessTestDlg dlg;
    dlg.SendMessage(WM_COMMAND, ID_TEST_COMMAND, 0);     // menu / accelerator form
    dlg.SendDlgItemMessage(IDC_BUTTON, BM_CLICK);        // a real click
    dlg.SetDlgItemText(IDC_EDIT, "x");                   // EN_CHANGE from the edit
    EXPECT_EQ(dlg.SendMessage(WM_TEST_USER, 5, 6), 11);  // result of the handler
    dlg.SendMessage(WM_TEST_USER, static_cast<WPARAM>(-1), static_cast<LPARAM>(-2));
    EXPECT_STREQ(dlg.m_log, "command button change user5:6 user-1:-2");
}

TEST(MessageMap, NotificationCodesAreNotConfused) {
    ModelessTestDlg dlg;
    dlg.m_log.Empty();
    // EN_CHANGE from the button's id and BN_CLICKED from the edit's id have no handler.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, EN_CHANGE), reinterpret_cast<LPARAM>(dlg.m_button.m_hWnd));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EDIT, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_EDIT)->m_hWnd));
    EXPECT_FALSE(dlg.OnCmdMsg(4242, CN_COMMAND, 0, 0));
    EXPECT_STREQ(dlg.m_log, "");
}

TEST(MessageMap, DerivedEntriesComeFirstAndTheBaseMapStillAnswers) {
    CDerivedDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    ClickButton(&dlg, IDC_BUTTON);
    dlg.SetDlgItemText(IDC_EDIT, "y");
    EXPECT_STREQ(dlg.m_log, "derived change");
    dlg.DestroyWindow();
}

TEST(MessageMap, CurrentMessageRecordIsSavedAroundNestedMessages) {
    ModelessTestDlg dlg;
    MSG seenOuterBefore = {}, seenInner = {}, seenOuterAfter = {};
    dlg.m_onUser = [&](CTestDlg* p, WPARAM wParam, LPARAM) -> LRESULT {
        if (wParam == 1) {
            seenOuterBefore = *AfxGetCurrentMessage();
            p->SendMessage(WM_TEST_USER, 2, 22);
            seenOuterAfter = *AfxGetCurrentMessage();
        } else {
            seenInner = *AfxGetCurrentMessage();
        }
        return 0;
    };
    dlg.SendMessage(WM_TEST_USER, 1, 11);
    EXPECT_EQ(seenOuterBefore.hwnd, dlg.m_hWnd);
    EXPECT_EQ(seenOuterBefore.message, static_cast<UINT>(WM_TEST_USER));
    EXPECT_EQ(seenOuterBefore.lParam, 11);
    EXPECT_EQ(seenInner.wParam, 2u);
    EXPECT_EQ(seenInner.lParam, 22);
    EXPECT_EQ(seenOuterAfter.wParam, 1u);
    EXPECT_EQ(seenOuterAfter.lParam, 11);
}

TEST(DataExchange, LoadsLimitsAndSavesTheEdit) {
    CTestDlg dlg;
    dlg.m_strText = "hello";
    CString shown;
    UINT limit = 0;
    CModalHook hook([&](CDialog* p) {
        p->GetDlgItemText(IDC_EDIT, shown);
        limit = static_cast<UINT>(p->SendDlgItemMessage(IDC_EDIT, EM_GETLIMITTEXT));
        EXPECT_EQ(CWnd::FromHandlePermanent(::GetDlgItem(p->m_hWnd, IDC_BUTTON)), &dlg.m_button);
        p->SetDlgItemText(IDC_EDIT, "typed");
        ClickButton(p, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(shown, "hello");
    EXPECT_EQ(limit, 14u);
    EXPECT_STREQ(dlg.m_strText, "typed");
    EXPECT_TRUE(dlg.m_bLoadChanged);          // loading raises the change notification, as typing does
    EXPECT_EQ(dlg.m_button.m_hWnd, nullptr);  // bound controls let go of their destroyed windows
}

TEST(DataExchange, TooLongTextFailsOkWithAMessageAndKeepsTheDialog) {
    CMessageBoxRecorder boxes;
    CTestDlg dlg;
    dlg.m_strText = "before";
    BOOL stillOpen = FALSE, updated = TRUE;
    CModalHook hook([&](CDialog* p) {
        p->SetDlgItemText(IDC_EDIT, "123456789012345");  // 15: WM_SETTEXT is not held to the typing limit
        ClickButton(p, IDOK);
        stillOpen = p->ContinueModal();
        updated = p->UpdateData(TRUE);
        p->SetDlgItemText(IDC_EDIT, "12345678901234");  // 14 is allowed
        ClickButton(p, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(updated);
    EXPECT_STREQ(dlg.m_strText, "12345678901234");
    ASSERT_EQ(boxes.GetCount(), 2);
    EXPECT_STREQ(boxes.Last().text, "Please enter no more than 14 characters.");
    EXPECT_EQ(boxes.Last().Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST(EndDialog, ResultsOfEveryWayOut) {
    struct Case {
        const char* name;
        std::function<void(CDialog*)> act;
        INT_PTR expected;
    } cases[] = {
        {"EndDialog", [](CDialog* p) { p->EndDialog(1234); }, 1234},
        {"Cancel button", [](CDialog* p) { ClickButton(p, IDCANCEL); }, IDCANCEL},
        {"Esc key", [](CDialog* p) { ::PostMessageA(::GetDlgItem(p->m_hWnd, IDC_EDIT), WM_KEYDOWN, VK_ESCAPE, 0); },
         IDCANCEL},
        {"Enter key", [](CDialog* p) { ::PostMessageA(::GetDlgItem(p->m_hWnd, IDC_EDIT), WM_KEYDOWN, VK_RETURN, 0); },
         IDOK},
        {"WM_CLOSE", [](CDialog* p) { p->PostMessage(WM_CLOSE); }, IDCANCEL},
        {"posted IDOK", [](CDialog* p) { p->PostMessage(WM_COMMAND, IDOK); }, IDOK},
    };
    for (const Case& c : cases) {
        CTestDlg dlg;
        CModalHook hook(c.act);
        EXPECT_EQ(dlg.DoModal(), c.expected) << c.name;
        EXPECT_EQ(dlg.m_hWnd, nullptr) << c.name;
    }
}

TEST(EndDialog, FromOnInitDialogSkipsTheLoop) {
    CTestDlg dlg;
    dlg.m_onInit = [](CTestDlg* p) {
        p->EndDialog(77);
        return TRUE;
    };
    int hookCalls = 0;
    CModalHook hook([&](CDialog*) { ++hookCalls; });
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_EQ(hookCalls, 0);
}

TEST(EndDialog, DestroyedUnderItsLoopEndsTheLoop) {
    ModelessTestDlg owner;
    CTestDlg dlg(&owner);
    CModalHook hook([](CDialog* p) { p->DestroyWindow(); });
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(owner.IsWindowEnabled());
    CTestDlg ended(&owner);
    CModalHook endThenDestroy([](CDialog* p) {
        p->EndDialog(3);
        p->DestroyWindow();
    });
    EXPECT_EQ(ended.DoModal(), 3);
}

TEST(EndDialog, MissingTemplateGivesMinusOneAndReenablesTheOwner) {
    ModelessTestDlg owner;
    CDialog missing(4711, &owner);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(NestedModal, InnerDialogReturnsItsResultAndTheOuterGoesOn) {
    CTestDlg outer, inner(&outer);
    INT_PTR innerResult = 0;
    BOOL outerEnabledDuringInner = TRUE, outerEnabledAfterInner = FALSE;
    outer.m_onButton = [&](CTestDlg* p) {
        innerResult = inner.DoModal();
        outerEnabledAfterInner = p->IsWindowEnabled();
        p->Log("inner=%d", static_cast<int>(innerResult));
        p->PostMessage(WM_TEST_USER, 3, 0);
    };
    outer.m_onUser = [](CTestDlg* p, WPARAM, LPARAM) -> LRESULT {
        p->EndDialog(7);
        return 0;
    };
    std::vector<CDialog*> hooked;
    CModalHook hook([&](CDialog* p) {
        hooked.push_back(p);
        if (p == &outer) {
            p->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED),
                           reinterpret_cast<LPARAM>(outer.m_button.m_hWnd));
        } else {
            outerEnabledDuringInner = outer.IsWindowEnabled();
            EXPECT_EQ(CDialog::GetInnermostModal(), &inner);
            // A message for the outer dialog is dispatched by the inner loop while the inner dialog runs.
            outer.PostMessage(WM_TEST_OTHER, 1);
            p->PostMessage(WM_COMMAND, IDCANCEL);
        }
    });
    EXPECT_EQ(outer.DoModal(), 7);
    EXPECT_EQ(innerResult, IDCANCEL);
    EXPECT_FALSE(outerEnabledDuringInner);
    EXPECT_TRUE(outerEnabledAfterInner);
    ASSERT_EQ(hooked.size(), 2u);
    EXPECT_EQ(hooked[0], &outer);
    EXPECT_EQ(hooked[1], &inner);
    EXPECT_STREQ(outer.m_log, "button other1 inner=2 user3:0");
    EXPECT_EQ(CDialog::GetInnermostModal(), nullptr);
}

TEST(PostedMessages, DeliveredInOrderAfterSentMessages) {
    CTestDlg dlg;
    dlg.m_onUser = [](CTestDlg* p, WPARAM wParam, LPARAM) -> LRESULT {
        if (wParam == 1) p->SendMessage(WM_TEST_USER, 99, 0);  // runs at once, before the posts still queued
        return 0;
    };
    CModalHook hook([](CDialog* p) {
        for (int i = 1; i <= 3; ++i) p->PostMessage(WM_TEST_USER, static_cast<WPARAM>(i), i * 10);
        p->PostMessage(WM_COMMAND, IDCANCEL);
        p->PostMessage(WM_TEST_USER, 4, 40);  // after the end: never dispatched to the dialog
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_log, "user1:10 user99:0 user2:20 user3:30");
    MSG leftover;
    while (::PeekMessageA(&leftover, nullptr, 0, 0, PM_REMOVE)) {
    }
}

namespace {

class CTestPage : public CDialog {
public:
    CTestPage() : CDialog(IDD_PAGE) {}
    int m_nChanges = 0;
    int m_nCancels = 0;

protected:
    void OnCancel() override { ++m_nCancels; }  // a cancel that reaches a page does not close it
    afx_msg void OnPageEditChange() { ++m_nChanges; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestPage, CDialog)
    ON_EN_CHANGE(IDC_PAGE_EDIT, OnPageEditChange)
END_MESSAGE_MAP()
// clang-format on

class CHostDlg : public CDialog {
public:
    CHostDlg() : CDialog(IDD_HOST) {}
    CTestPage m_page;
    BOOL m_bPageCreated = FALSE;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ModifyStyleEx(0, WS_EX_CONTROLPARENT);
        m_bPageCreated = m_page.Create(IDD_PAGE, this);
        CRect rc;
        GetDlgItem(IDC_PLACEHOLDER)->GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_page.SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_page.ShowWindow(SW_SHOW);
        return TRUE;
    }
};

}  // namespace

TEST(Pages, ChildDialogKeepsItsOwnMapAndLeavesDialogKeysToTheHost) {
    CHostDlg host;
    CRect placeholder, page;
    HWND pageParent = nullptr;
    DWORD pageStyle = 0;
    int cancelsAfterDirectCancel = -1;
    CModalHook hook([&](CDialog* p) {
        pageParent = ::GetParent(host.m_page.m_hWnd);
        pageStyle = host.m_page.GetStyle();
        p->GetDlgItem(IDC_PLACEHOLDER)->GetWindowRect(&placeholder);
        host.m_page.GetWindowRect(&page);
        host.m_page.SetDlgItemText(IDC_PAGE_EDIT, "page text");
        host.m_page.SendMessage(WM_COMMAND, IDCANCEL);
        cancelsAfterDirectCancel = host.m_page.m_nCancels;
        // Esc typed in the page's edit goes to the host through its dialog keys.
        ::PostMessageA(::GetDlgItem(host.m_page.m_hWnd, IDC_PAGE_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(host.DoModal(), IDCANCEL);
    EXPECT_TRUE(host.m_bPageCreated);
    EXPECT_NE(pageParent, nullptr);
    EXPECT_TRUE(pageStyle & WS_CHILD);
    EXPECT_EQ(page.TopLeft(), placeholder.TopLeft());
    EXPECT_EQ(host.m_page.m_nChanges, 1);
    EXPECT_EQ(cancelsAfterDirectCancel, 1);
    EXPECT_EQ(host.m_page.m_nCancels, 1);    // the Esc did not reach the page
    EXPECT_EQ(host.m_page.m_hWnd, nullptr);  // destroyed with its host
}

TEST(CommandRouting, UnhandledApplicationCommandsReachTheApplication) {
    ModelessTestDlg dlg;
    int before = theApp.m_nAbout;
    dlg.SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(theApp.m_nAbout, before + 1);
    dlg.SendMessage(WM_COMMAND, IDC_BUTTON + 0x100, 0);  // a control id is never routed on
    EXPECT_EQ(theApp.m_nAbout, before + 1);
}
