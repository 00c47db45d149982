// CTimerSource: the one place where window timers are set and killed (test seam).
//
// CWnd::SetTimer and CWnd::KillTimer call CTimerSource::Current(); in the product that is this class,
// which calls ::SetTimer / ::KillTimer. Code that wants its timers testable uses CWnd::SetTimer, never
// ::SetTimer. A test replaces the source with a CVirtualClock (testsupport/VirtualClock.h), which delivers WM_TIMER
// on virtual time:
//
//   CVirtualClock clock;               // installed until it goes out of scope
//   clock.SetAutoAdvance(TRUE);        // idle modal loops jump to the next timer
//   INT_PTR r = dlg.DoModal();         // a 160-second retry schedule runs in milliseconds
//   EXPECT_EQ(clock.Now(), 160000u);
#pragma once

#include <windows.h>

#include "Seam.h"

class CTimerSource : public CSeam<CTimerSource> {
public:
    // Same contract as ::SetTimer with a window and no timer procedure: (re)arms timer nIDEvent of hWnd.
    virtual UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT nElapse);
    virtual BOOL KillTimer(HWND hWnd, UINT_PTR nIDEvent);
    // The window is being destroyed: its timers die with it.
    virtual void WindowDestroyed(HWND hWnd);
    // Called by message loops that found no message; TRUE when it produced work (the loop looks again).
    virtual BOOL OnIdle();
};
