// CVirtualClock: timers on virtual time, delivered by SendMessage in due order.
#include "VirtualClock.h"

#include <algorithm>

#include "Dialog.h"
#include "WinApp.h"

CVirtualClock::CVirtualClock() : m_pPrevious(CTimerSource::Install(this)) {}

CVirtualClock::~CVirtualClock() {
    CTimerSource::Install(m_pPrevious);
}

UINT_PTR CVirtualClock::SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT nElapse) {
    if (!::IsWindow(hWnd)) return 0;
    // USER clamps periods below 10 ms the same way.
    nElapse = std::max(nElapse, static_cast<UINT>(USER_TIMER_MINIMUM));
    KillTimer(hWnd, nIDEvent);
    m_timers.push_back({hWnd, nIDEvent, nElapse, m_now + nElapse, m_nNextOrder++});
    return nIDEvent;
}

BOOL CVirtualClock::KillTimer(HWND hWnd, UINT_PTR nIDEvent) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.hWnd == hWnd && t.nID == nIDEvent; });
    if (it == m_timers.end()) return FALSE;
    m_timers.erase(it);
    return TRUE;
}

void CVirtualClock::WindowDestroyed(HWND hWnd) {
    std::erase_if(m_timers, [&](const Timer& t) { return t.hWnd == hWnd; });
}

BOOL CVirtualClock::OnIdle() {
    return m_bAutoAdvance && AdvanceToNext();
}

const CVirtualClock::Timer* CVirtualClock::Find(HWND hWnd, UINT_PTR nIDEvent) const {
    for (const Timer& t : m_timers)
        if (t.hWnd == hWnd && t.nID == nIDEvent) return &t;
    return nullptr;
}

BOOL CVirtualClock::IsTimerSet(HWND hWnd, UINT_PTR nIDEvent) const {
    return Find(hWnd, nIDEvent) != nullptr;
}

UINT CVirtualClock::GetPeriod(HWND hWnd, UINT_PTR nIDEvent) const {
    const Timer* t = Find(hWnd, nIDEvent);
    return t ? t->nPeriod : 0;
}

DWORD CVirtualClock::GetDueTime(HWND hWnd, UINT_PTR nIDEvent) const {
    const Timer* t = Find(hWnd, nIDEvent);
    return t ? t->dwDue : 0;
}

BOOL CVirtualClock::DeliverNext(DWORD dwLimit) {
    std::erase_if(m_timers, [](const Timer& t) { return !::IsWindow(t.hWnd); });
    auto next = std::min_element(m_timers.begin(), m_timers.end(), [](const Timer& a, const Timer& b) {
        return a.dwDue != b.dwDue ? a.dwDue < b.dwDue : a.nOrder < b.nOrder;
    });
    if (next == m_timers.end() || next->dwDue > dwLimit) return FALSE;
    m_now = next->dwDue;
    next->dwDue = m_now + next->nPeriod;
    HWND hWnd = next->hWnd;
    UINT_PTR nID = next->nID;
    // The handler may set, kill or destroy anything; nothing of the table is held across the call.
    ::SendMessageA(hWnd, WM_TIMER, nID, 0);
    AfxPumpPendingMessages();
    return TRUE;
}

int CVirtualClock::Advance(DWORD nMilliseconds) {
    CDialog* pModal = CDialog::GetInnermostModal();
    DWORD target = m_now + nMilliseconds;
    int delivered = 0;
    AfxPumpPendingMessages();
    while (!(pModal && !pModal->ContinueModal()) && DeliverNext(target)) ++delivered;
    if (!(pModal && !pModal->ContinueModal())) m_now = target;
    return delivered;
}

BOOL CVirtualClock::AdvanceToNext() {
    return DeliverNext(0xFFFFFFFFu);
}
