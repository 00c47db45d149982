// CString::LoadString, the one member that needs the program's resources (Windows build only).
#include <windows.h>

#include "String.h"
#include "WinThread.h"

BOOL CString::LoadString(UINT nID) {
    // String resources are stored in UTF-16; LoadStringA converts to the 8-bit code page. A result that
    // fills the buffer may have been cut short: try again with a larger one (entries are at most 4095).
    for (int size = 256; size <= 8192; size *= 2) {
        int n = ::LoadStringA(AfxGetResourceHandle(), nID, GetBufferSetLength(size), size + 1);
        if (n < size || size == 8192) {
            ReleaseBuffer(n > 0 ? n : 0);
            return n > 0;
        }
    }
    return FALSE;
}
