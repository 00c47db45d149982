// CTimerSource: the system's timers.
#include "TimerSource.h"

UINT_PTR CTimerSource::SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT nElapse) {
    return ::SetTimer(hWnd, nIDEvent, nElapse, nullptr);
}

BOOL CTimerSource::KillTimer(HWND hWnd, UINT_PTR nIDEvent) {
    return ::KillTimer(hWnd, nIDEvent);
}

void CTimerSource::WindowDestroyed(HWND) {}

BOOL CTimerSource::OnIdle() {
    return FALSE;
}
