// Stand-in for the tray utility while the real Pebblink.exe is not part of the build: a hidden top-level
// window titled "Pebblink Utility", which is all the wizard looks for. It ends when the window is closed
// (the installer and uninstaller close a running copy that way). A second copy ends at once.
#include <windows.h>

namespace {

const char WINDOW_TITLE[] = "Pebblink Utility";

LRESULT CALLBACK StandInWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    if (FindWindowA(nullptr, WINDOW_TITLE)) return 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StandInWndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "ZentriveUtilityStandIn";
    if (!RegisterClassA(&wc)) return 1;
    // Never shown, as the utility's main window is not.
    if (!CreateWindowExA(0, wc.lpszClassName, WINDOW_TITLE, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         hInstance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
