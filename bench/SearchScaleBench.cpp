// One real search of the wizard (the operation dialog, real clock) against the simulated appliances of the lab;
// prints one RESULT line for bench/search-scale: how many were listed, when the last one came in, CPU and memory.
//   search_scale_bench.exe --expect N
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CpuTime.h"
#include "Framework.h"
#include "ModalHook.h"
#include "../wizard/link/ChannelTable.h"
#include "../wizard/ops/OperationDlg.h"
#include "../wizard/shell/DeviceListPage.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The receive buffer a fresh datagram socket gets from the platform.
int DefaultReceiveBuffer() {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) return -1;
    int nSize = -1;
    int nLength = sizeof nSize;
    if (getsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&nSize), &nLength) == SOCKET_ERROR) nSize = -1;
    closesocket(s);
    return nSize;
}

}  // namespace

int main(int argc, char** argv) {
    size_t nExpect = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (strcmp(argv[i], "--expect") == 0) nExpect = strtoul(argv[i + 1], nullptr, 10);
    if (nExpect == 0) {
        fprintf(stderr, "usage: search_scale_bench.exe --expect N\n");
        return 2;
    }
    AfxWinInit(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWNORMAL);
    if (!NetStartup()) return 3;
    NetGetLocalAddresses(localAddresses, &localAddressCount);

    CDeviceListPage page;
    CStringList targets;
    targets.AddTail("255.255.255.255");
    interfaceWalk = true;
    nextBindIndex = 0;

    LARGE_INTEGER frequency, start, allIn{}, firstIn{};
    QueryPerformanceFrequency(&frequency);
    double dCpuBefore = CpuSeconds();
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);

    COperationDlg dlg(OP_SEARCH, &targets, &page);
    // Watches the list while the dialog's own loop runs the search's schedule to its end.
    CModalHook hook([&](CDialog* pDlg) {
        for (;;) {
            AfxPumpPendingMessages();
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            size_t nCount = page.GetDevices().GetCount();
            if (nCount > 0 && firstIn.QuadPart == 0) firstIn = now;
            if (nCount >= nExpect) {
                allIn = now;
                return;
            }
            if (!::IsWindow(pDlg->m_hWnd) || !::IsWindowVisible(pDlg->m_hWnd) || Seconds(start, now, frequency) > 30)
                return;
            Sleep(1);
        }
    });
    QueryPerformanceCounter(&start);  // the first broadcast leaves as the dialog opens
    dlg.DoModal();
    LARGE_INTEGER end;
    QueryPerformanceCounter(&end);

    double dCpu = CpuSeconds() - dCpuBefore;
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    size_t nFound = page.GetDevices().GetCount();
    printf(
        "RESULT interfaces=%d expect=%zu found=%zu share=%.1f first_ms=%.0f all_ms=%.0f search_s=%.1f cpu_s=%.2f "
        "peak_ws_kb=%zu ws_growth_kb=%lld peak_commit_kb=%zu rcvbuf_default=%d\n",
        localAddressCount, nExpect, nFound, 100.0 * static_cast<double>(nFound) / static_cast<double>(nExpect),
        firstIn.QuadPart ? 1000 * Seconds(start, firstIn, frequency) : -1.0,
        allIn.QuadPart ? 1000 * Seconds(start, allIn, frequency) : -1.0, Seconds(start, end, frequency), dCpu,
        after.PeakWorkingSetSize / 1024,
        (static_cast<long long>(after.PeakWorkingSetSize) - static_cast<long long>(before.WorkingSetSize)) / 1024,
        after.PeakPagefileUsage / 1024, DefaultReceiveBuffer());
    fflush(stdout);
    NetCleanup();
    return 0;
}
