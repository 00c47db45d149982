// Starts a program again and again as the shell would and times each start to its first screen: for "paint", a
// shown top-level window of the new process whose update region, and those of its shown children, are empty
// (every part painted once); for "idle", a window of the process whose thread answers a message (a program that
// shows nothing at start, such as a tray utility). Prints one RESULT line a program for bench/startup:
//   startup_probe.exe RUNS LABEL=MODE:PATH...
// The programs are started in turn, A B C A B C ..., after one start of each that is not counted.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string label;
    bool paint = true;
    std::string path;
    std::vector<double> ms;
    std::vector<size_t> peakKb;
};

struct Search {
    DWORD pid;
    bool paint;
    bool ready;
};

BOOL CALLBACK Unpainted(HWND h, LPARAM lParam) {
    if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Check(HWND h, LPARAM lParam) {
    Search& s = *reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s.pid) return TRUE;
    if (s.paint) {
        if (!IsWindowVisible(h) || GetUpdateRect(h, nullptr, FALSE)) return TRUE;
        bool unpainted = false;
        EnumChildWindows(h, Unpainted, reinterpret_cast<LPARAM>(&unpainted));
        if (unpainted) return TRUE;
    } else {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return TRUE;
    }
    s.ready = true;
    return FALSE;
}

// Milliseconds from CreateProcess to the program's first screen; -1 when it did not come within 60 s.
double StartOnce(Program& p, size_t* pPeakKb) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + p.path + "\"";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    Search s{pi.dwProcessId, p.paint, false};
    double ms = -1;
    for (;;) {
        EnumWindows(Check, reinterpret_cast<LPARAM>(&s));
        QueryPerformanceCounter(&now);
        double elapsed =
            1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        if (s.ready) {
            ms = elapsed;
            break;
        }
        if (elapsed > 60000 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    PROCESS_MEMORY_COUNTERS counters{};
    *pPeakKb = GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters) ? counters.PeakWorkingSetSize / 1024 : 0;
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 0;
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        size_t eq = arg.find('='), colon = arg.find(':', eq == std::string::npos ? 0 : eq);
        if (eq == std::string::npos || colon == std::string::npos) break;
        Program p;
        p.label = arg.substr(0, eq);
        p.paint = arg.substr(eq + 1, colon - eq - 1) == "paint";
        p.path = arg.substr(colon + 1);
        programs.push_back(p);
    }
    if (runs < 1 || programs.empty() || programs.size() != static_cast<size_t>(argc - 2)) {
        fprintf(stderr, "usage: startup_probe.exe RUNS LABEL=paint|idle:PATH...\n");
        return 2;
    }
    for (int run = 0; run <= runs; ++run) {
        for (Program& p : programs) {
            size_t peakKb = 0;
            double ms = StartOnce(p, &peakKb);
            if (run == 0) continue;  // the first start fills the file cache and the prefix's registry
            p.ms.push_back(ms);
            p.peakKb.push_back(peakKb);
        }
    }
    for (const Program& p : programs) {
        printf("RESULT %s", p.label.c_str());
        for (size_t i = 0; i < p.ms.size(); ++i) printf(" %.1f/%zu", p.ms[i], p.peakKb[i]);
        printf("\n");
    }
    fflush(stdout);
    return 0;
}
