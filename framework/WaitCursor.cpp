// CWaitCursor.
#include "WaitCursor.h"

namespace {

int g_nWaitCount;
HCURSOR g_hcurRestore;

}  // namespace

CWaitCursor::CWaitCursor() {
    if (g_nWaitCount++ == 0)
        g_hcurRestore = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    else
        Restore();
}

CWaitCursor::~CWaitCursor() {
    if (--g_nWaitCount == 0) ::SetCursor(g_hcurRestore);
}

void CWaitCursor::Restore() {
    if (g_nWaitCount > 0) ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));
}

BOOL CWaitCursor::IsWaiting() {
    return g_nWaitCount > 0;
}
