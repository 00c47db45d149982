// Message pumps for Windows test programs.
#include "MessagePump.h"

int PumpMessages() {
    int n = 0;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        ++n;
    }
    return n;
}

bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeout, int (*pump)()) {
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        pump();
        if (done()) return true;
        if (::GetTickCount() - dwStart > dwTimeout) return false;
        // Wakes as soon as something is posted, so no time is waited beyond what the condition needs.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(DWORD dwMilliseconds, int (*pump)()) {
    PumpUntil([] { return false; }, dwMilliseconds, pump);
    pump();
}
