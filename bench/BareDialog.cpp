// The floor of a start: a dialog with one line of text, nothing else, in a program that imports the same system
// DLLs as the program it is measured against (each is loaded and initialised at start whether used or not).
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>
#include <shellapi.h>
#include <winnetwk.h>
#ifdef BARE_WITH_OLE
#include <objbase.h>
#endif

namespace {

// One function of each DLL, behind a pointer the compiler must keep, so that every import stays.
void* volatile g_imports[] = {
    reinterpret_cast<void*>(&InitCommonControlsEx), reinterpret_cast<void*>(&GetStockObject),
    reinterpret_cast<void*>(&GetAdaptersInfo),      reinterpret_cast<void*>(&WNetGetConnectionA),
    reinterpret_cast<void*>(&ShellExecuteA),        reinterpret_cast<void*>(&WSAGetLastError),
#ifdef BARE_WITH_OLE
    reinterpret_cast<void*>(&CoInitialize),
#endif
};

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    (void)g_imports;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    return static_cast<int>(DialogBoxParamA(hInstance, MAKEINTRESOURCEA(1), nullptr, DialogProc, 0));
}
