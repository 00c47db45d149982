// tray_post: the scenario's hand on the hidden main window, which the automation driver does not list.
//   tray_post count TITLE               prints how many top-level windows (hidden ones included) have TITLE
//   tray_post post TITLE MSG [WPARAM]   posts MSG to the first of them; exit status 1 when there is none
//   tray_post icon TITLE ID             exit status 0 when the shell holds icon ID of that window
//   tray_post respond TITLE TIMEOUT_MS COUNT INTERVAL_MS
//                                       sends WM_NULL COUNT times, INTERVAL_MS apart, and prints the slowest
//                                       answer in ms; exit status 1 when one took longer than TIMEOUT_MS
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace {

struct Search {
    const char* title;
    int count;
    HWND first;
};

BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    char text[256] = "";
    GetWindowTextA(hWnd, text, sizeof text);
    if (std::strcmp(text, search->title) == 0) {
        if (!search->first) {
            search->first = hWnd;
        }
        search->count++;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tray_post count TITLE | post TITLE MSG [WPARAM]\n");
        return 2;
    }
    Search search{argv[2], 0, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (std::strcmp(argv[1], "count") == 0) {
        std::printf("%d\n", search.count);
        return 0;
    }
    if (std::strcmp(argv[1], "post") == 0 && argc >= 4) {
        if (!search.first) {
            return 1;
        }
        UINT message = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        WPARAM wParam = argc > 4 ? static_cast<WPARAM>(std::strtoul(argv[4], nullptr, 0)) : 0;
        return PostMessageA(search.first, message, wParam, 0) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "icon") == 0 && argc >= 4) {
        if (!search.first) {
            return 1;
        }
        // Changing nothing of an icon succeeds only when the shell has it.
        NOTIFYICONDATAA data{};
        data.cbSize = NOTIFYICONDATAA_V2_SIZE;
        data.hWnd = search.first;
        data.uID = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        data.uFlags = 0;
        return Shell_NotifyIconA(NIM_MODIFY, &data) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "respond") == 0 && argc >= 6) {
        if (!search.first) {
            return 1;
        }
        const UINT timeout = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        const int count = std::atoi(argv[4]);
        const DWORD interval = static_cast<DWORD>(std::strtoul(argv[5], nullptr, 0));
        DWORD slowest = 0;
        bool late = false;
        for (int i = 0; i < count; i++) {
            const DWORD start = GetTickCount();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(search.first, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &result)) {
                late = true;
            }
            slowest = std::max(slowest, GetTickCount() - start);
            Sleep(interval);
        }
        std::printf("%lu\n", static_cast<unsigned long>(slowest));
        return late ? 1 : 0;
    }
    return 2;
}
