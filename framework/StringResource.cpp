// CString::LoadString, the one member that needs the program's resources (Windows build only).
#include <windows.h>

#include "String.h"
#include "WinApp.h"

BOOL CString::LoadString(UINT nID) {
    // String resources are stored in UTF-16; LoadStringA converts to the 8-bit code page.
    char buffer[1024];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, sizeof buffer);
    *this = n > 0 ? CString(buffer, n) : CString();
    return n > 0;
}
