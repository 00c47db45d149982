// CTimerSource: the system's timers.
#include "TimerSource.h"

namespace {

CTimerSource g_systemTimers;
CTimerSource* g_pTimerSource = &g_systemTimers;

}  // namespace

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

CTimerSource* CTimerSource::Current() {
    return g_pTimerSource;
}

CTimerSource* CTimerSource::Install(CTimerSource* pSource) {
    CTimerSource* previous = g_pTimerSource;
    g_pTimerSource = pSource ? pSource : &g_systemTimers;
    return previous;
}
