// The three test seams: the virtual clock behind CWnd::SetTimer, the message-box recorder, the modal hook;
// and the product path of timers (the system's).
#include <gtest/gtest.h>

#include "MessageBoxRecorder.h"
#include "VirtualClock.h"
#include "WineTestSupport.h"

namespace {

// A modeless dialog on the virtual clock that logs each tick as "time:id".
class ClockLog : public ::testing::Test {
protected:
    void SetUp() override {
        m_dlg.m_onTimer = [this](CTestDlg* p, UINT_PTR id) {
            p->Log("%lu:%u", m_clock.Now(), static_cast<unsigned>(id));
        };
        ASSERT_TRUE(m_dlg.Create(IDD_TEST));
    }
    void TearDown() override {
        if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    }

    CVirtualClock m_clock;
    CTestDlg m_dlg;
};

// An m_onInit that sets one timer.
std::function<BOOL(CTestDlg*)> SetsTimer(UINT_PTR id, UINT nElapse) {
    return [id, nElapse](CTestDlg* p) {
        p->SetTimer(id, nElapse);
        return TRUE;
    };
}

}  // namespace

TEST_F(ClockLog, TimersOfDifferentPeriodsFireInTimeOrder) {
    m_dlg.SetTimer(200, 300);
    m_dlg.SetTimer(100, 2000);
    m_dlg.SetTimer(3, 700);
    EXPECT_EQ(m_clock.GetPeriod(m_dlg.m_hWnd, 100), 2000u);
    EXPECT_EQ(m_clock.GetDueTime(m_dlg.m_hWnd, 3), 700u);
    EXPECT_EQ(m_clock.Advance(2100), 11);
    // At 2100 two timers are due: the one set first goes first.
    EXPECT_STREQ(m_dlg.m_log,
                 "300:200 600:200 700:3 900:200 1200:200 1400:3 1500:200 1800:200 2000:100 2100:200 2100:3");
    EXPECT_EQ(m_clock.Now(), 2100u);
    m_dlg.DestroyWindow();
    EXPECT_EQ(m_clock.GetTimerCount(), 0);  // timers die with their window
}

TEST_F(ClockLog, KillTimerStopsOneAndLeavesTheOthers) {
    m_dlg.SetTimer(1, 1000);
    m_dlg.SetTimer(2, 1500);
    m_clock.Advance(1500);
    EXPECT_TRUE(m_dlg.KillTimer(1));
    EXPECT_FALSE(m_dlg.KillTimer(1));
    EXPECT_FALSE(m_clock.IsTimerSet(m_dlg.m_hWnd, 1));
    m_clock.Advance(3000);
    EXPECT_STREQ(m_dlg.m_log, "1000:1 1500:2 3000:2 4500:2");
}

TEST(VirtualClock, TimerKilledOrResetInItsOwnHandler) {
    CVirtualClock clock;
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    dlg.m_onTimer = [&](CTestDlg* p, UINT_PTR id) {
        p->Log("%lu:%u", clock.Now(), static_cast<unsigned>(id));
        if (id == 100) p->KillTimer(100);
        if (id == 7 && clock.Now() == 2000) p->SetTimer(7, 20000);  // re-arming restarts the schedule from now
    };
    dlg.SetTimer(100, 2000);
    dlg.SetTimer(7, 2000);
    clock.Advance(50000);
    EXPECT_STREQ(dlg.m_log, "2000:100 2000:7 22000:7 42000:7");
    dlg.DestroyWindow();
}

TEST(VirtualClock, PostedCancelEndsTheDialogBeforeTheNextTick) {
    CVirtualClock clock;
    CTestDlg dlg;
    int ticks = 0;
    dlg.m_onTimer = [&](CTestDlg* p, UINT_PTR) {
        if (++ticks == 3) p->PostMessage(WM_COMMAND, IDCANCEL);
    };
    dlg.m_onInit = SetsTimer(100, 2000);
    int delivered = -1;
    CModalHook hook([&](CDialog*) { delivered = clock.Advance(100000); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(delivered, 3);
    EXPECT_EQ(clock.Now(), 6000u);  // Advance stopped where the dialog ended
}

TEST(VirtualClock, AutoAdvanceRunsAWholeRetrySchedule) {
    // Eight attempts 20 seconds apart, then give up: the shape of a settings write without a reply.
    CVirtualClock clock;
    clock.SetAutoAdvance(TRUE);
    CTestDlg dlg;
    int retries = 7;
    std::vector<DWORD> attempts;
    dlg.m_onInit = [&](CTestDlg* p) {
        attempts.push_back(clock.Now());
        p->SetTimer(100, 20000);
        return TRUE;
    };
    dlg.m_onTimer = [&](CTestDlg* p, UINT_PTR) {
        if (retries > 0) {
            --retries;
            attempts.push_back(clock.Now());
        } else {
            p->KillTimer(100);
            p->PostMessage(WM_COMMAND, IDCANCEL);
        }
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(attempts, (std::vector<DWORD>{0, 20000, 40000, 60000, 80000, 100000, 120000, 140000}));
    EXPECT_EQ(clock.Now(), 160000u);
}

TEST(VirtualClock, UninstallsItselfAndTheSystemTimersRunAgain) {
    CTimerSource* system = CTimerSource::Current();
    {
        CVirtualClock clock;
        EXPECT_EQ(CTimerSource::Current(), &clock);
    }
    EXPECT_EQ(CTimerSource::Current(), system);
    // The product path: a real 50 ms timer ends the dialog through the ordinary modal loop.
    CTestDlg dlg;
    dlg.m_onInit = SetsTimer(9, 50);
    dlg.m_onTimer = [](CTestDlg* p, UINT_PTR id) {
        p->KillTimer(id);
        p->EndDialog(static_cast<int>(id));
    };
    DWORD start = ::GetTickCount();
    EXPECT_EQ(dlg.DoModal(), 9);
    EXPECT_LT(::GetTickCount() - start, 10000u);
}

TEST(MessageBoxSeam, RecordsTextCaptionIconAndOwnerAndAnswers) {
    CMessageBoxSource* system = CMessageBoxSource::Current();
    CMessageBoxRecorder boxes;
    boxes.QueueAnswer(IDNO);
    EXPECT_EQ(AfxMessageBox("Reboot now?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox(IDS_COMM_ERROR, MB_ICONEXCLAMATION), IDOK);  // default answer
    ASSERT_EQ(boxes.GetCount(), 2);
    EXPECT_STREQ(boxes.GetAt(0).text, "Reboot now?");
    EXPECT_STREQ(boxes.GetAt(0).caption, "Framework Tests");  // the application's title
    EXPECT_EQ(boxes.GetAt(0).Buttons(), static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(boxes.GetAt(0).Icon(), static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_STREQ(boxes.GetAt(1).text, "communication error!\nPlease check your TCP/IP setting");
    EXPECT_EQ(boxes.GetAt(1).Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.GetAt(1).hWndOwner, nullptr);  // no modal dialog, no main window

    // Inside a modal dialog the box belongs to it; CWnd::MessageBox takes the caption given.
    CTestDlg dlg;
    HWND dlgWnd = nullptr;
    boxes.SetCallback([](const CMessageBoxRecorder::Box& box) { return box.caption == "Warning" ? IDCANCEL : 0; });
    CModalHook hook([&](CDialog* p) {
        dlgWnd = p->m_hWnd;
        AfxMessageBox("inside");
        EXPECT_EQ(p->MessageBox("Device not exists.", "Warning", MB_ICONEXCLAMATION), IDCANCEL);
        p->MessageBox("default caption");
        p->EndDialog(IDOK);
    });
    dlg.DoModal();
    ASSERT_EQ(boxes.GetCount(), 5);
    EXPECT_EQ(boxes.GetAt(2).hWndOwner, dlgWnd);
    EXPECT_EQ(boxes.GetAt(3).hWndOwner, dlgWnd);
    EXPECT_STREQ(boxes.GetAt(3).caption, "Warning");
    EXPECT_STREQ(boxes.GetAt(4).caption, "Framework Tests");
    {
        CMessageBoxRecorder inner;  // recorders nest
        AfxMessageBox("to the inner one");
        EXPECT_EQ(inner.GetCount(), 1);
    }
    EXPECT_EQ(boxes.GetCount(), 5);
    EXPECT_EQ(CMessageBoxSource::Current(), &boxes);
    EXPECT_NE(system, &boxes);
}

TEST(ModalHook, EachModalRunIsAnnouncedToTheInnermostHook) {
    int outerCalls = 0, innerCalls = 0;
    CModalHook outerHook([&](CDialog* p) {
        ++outerCalls;
        p->EndDialog(1);
    });
    {
        CModalHook innerHook([&](CDialog* p) {
            ++innerCalls;
            p->EndDialog(2);
        });
        CTestDlg dlg;
        EXPECT_EQ(dlg.DoModal(), 2);
    }
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(innerCalls, 1);
    EXPECT_EQ(outerCalls, 1);
}

TEST(VirtualClock, TimersOfAnOuterDialogKeepTickingWhileANestedOneRuns) {
    CVirtualClock clock;
    clock.SetAutoAdvance(TRUE);
    CTestDlg outer, inner(&outer);
    CString log;
    outer.m_onInit = SetsTimer(1, 1000);
    outer.m_onTimer = [&](CTestDlg* p, UINT_PTR) {
        log.AppendFormat("outer@%lu ", clock.Now());
        if (clock.Now() == 2000) {
            log.AppendFormat("inner=%d ", static_cast<int>(inner.DoModal()));
        } else if (clock.Now() == 4000) {
            p->KillTimer(1);
            p->EndDialog(IDOK);
        }
    };
    int innerTicks = 0;
    inner.m_onInit = SetsTimer(2, 700);
    inner.m_onTimer = [&](CTestDlg* p, UINT_PTR) {
        log.AppendFormat("inner@%lu ", clock.Now());
        if (++innerTicks == 3) p->EndDialog(IDCANCEL);
    };
    EXPECT_EQ(outer.DoModal(), IDOK);
    // The inner loop delivers the outer dialog's ticks too (3000, 4000), as it would with real timers; the
    // outer dialog ended at 4000 leaves its loop only after the inner one has returned.
    EXPECT_STREQ(log, "outer@1000 outer@2000 inner@2700 outer@3000 inner@3400 outer@4000 inner@4100 inner=2 ");
}
