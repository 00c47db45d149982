// CWaitCursor: shows the hourglass for the lifetime of the object. Nested wait cursors keep it until the
// outermost one ends; windows of the library keep showing it while the mouse moves (WM_SETCURSOR).
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor();

    // Shows the hourglass again (after something, a message box for instance, changed the cursor).
    static void Restore();
    static BOOL IsWaiting();
};
