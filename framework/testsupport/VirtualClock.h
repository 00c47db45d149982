// CVirtualClock: a timer source on virtual time for tests (see TimerSource.h for the seam).
//
// Time starts at 0 and moves only when the test says so. Timers set through CWnd::SetTimer fall due at
// Now() + period and then every period; each one that falls due is sent to its window as WM_TIMER
// (wParam = id), in due order, timers due at the same instant in the order they were set. Messages posted
// meanwhile are dispatched before the next timer, as a real message queue would do, so a handler that
// posts IDCANCEL ends its dialog before the next tick. A timer killed (or re-set) in a handler, also its
// own, does not fire again on the old schedule; timers of destroyed windows are dropped.
//
//   CVirtualClock clock;
//   CModalHook hook([&](CDialog*) { clock.Advance(2000); ... });   // act inside the dialog's modal loop
//   or: clock.SetAutoAdvance(TRUE); dlg.DoModal();                  // run a whole schedule unattended
#pragma once

#include <vector>

#include "TimerSource.h"

class CVirtualClock : public CTimerSource {
public:
    // Installs itself as the timer source; the destructor puts the previous one back.
    CVirtualClock();
    ~CVirtualClock() override;

    UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT nElapse) override;
    BOOL KillTimer(HWND hWnd, UINT_PTR nIDEvent) override;
    void WindowDestroyed(HWND hWnd) override;
    BOOL OnIdle() override;

    // Virtual milliseconds since the clock was made.
    DWORD Now() const { return m_now; }
    // Moves time forward by nMilliseconds, delivering what falls due. Stops early, at the time of the tick
    // that did it, when the modal loop that was running at the call has been ended. Returns the number of
    // WM_TIMER messages delivered.
    int Advance(DWORD nMilliseconds);
    // Moves time to the next timer and delivers it; FALSE (time unchanged) when no timer is set.
    BOOL AdvanceToNext();
    // While on, a message loop that runs out of messages calls AdvanceToNext instead of waiting.
    void SetAutoAdvance(BOOL bAuto) { m_bAutoAdvance = bAuto; }

    BOOL IsTimerSet(HWND hWnd, UINT_PTR nIDEvent) const;
    // The period of a set timer, 0 when it is not set.
    UINT GetPeriod(HWND hWnd, UINT_PTR nIDEvent) const;
    // When the timer falls due next (virtual ms), 0 when it is not set.
    DWORD GetDueTime(HWND hWnd, UINT_PTR nIDEvent) const;
    int GetTimerCount() const { return static_cast<int>(m_timers.size()); }

private:
    struct Timer {
        HWND hWnd;
        UINT_PTR nID;
        UINT nPeriod;
        DWORD dwDue;
        unsigned long long nOrder;
    };

    const Timer* Find(HWND hWnd, UINT_PTR nIDEvent) const;
    // Delivers the earliest timer due at or before dwLimit; FALSE when there is none.
    BOOL DeliverNext(DWORD dwLimit);

    CTimerSource* m_pPrevious;
    std::vector<Timer> m_timers;
    DWORD m_now = 0;
    unsigned long long m_nNextOrder = 0;
    BOOL m_bAutoAdvance = FALSE;
};
