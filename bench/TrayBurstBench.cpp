// The tray utility's real frame (listener on port 917, echo tests of senders, notice queues, the map
// dialog) under a burst of disk notices that a simulator in the lab sends on command; prints one RESULT
// line for bench/tray-burst: how many notices reached the listener, how many the gate dropped, how many
// joined the mapping queue, when the last was handled, CPU time and memory.
//   tray_burst_bench.exe --host NAME --count N --each M [--rcvbuf BYTES]   (in a lab: ZT_HOST_<NAME>, ZT_PC_ADDR1)
// NAME is the lab host whose simulator (control on TCP 7000) sends: M notices from each of its N appliances
// (`burst * M available <PC address>` when N > 1, `burst <first> M ...` when N is 1).
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CpuTime.h"
#include "Framework.h"
#include "LabSupport.h"
#include "MainFrame.h"
#include "ModalHook.h"
#include "NoticeQueues.h"
#include "TrayNetwork.h"
#include "resource.h"

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool Readable(SOCKET s) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval zero{0, 0};
    return select(0, &set, nullptr, nullptr, &zero) == 1;
}

// The start-up discovery is not part of the burst: it finds nothing. Echo tests stay the product's.
class CNoDiscovery : public CTrayNetwork {
public:
    bool DiscoverDisks(CStringList&, CStringList&, CStringList&) override { return true; }
};

// Counts what the frame reads and when it last did something with a notice.
class CCountingFrame : public CMainFrame {
public:
    // nListenerBuffer < 0 keeps the utility's own listener buffer; 0 is the platform's default.
    explicit CCountingFrame(long nListenerBuffer) {
        if (nListenerBuffer >= 0) m_nListenerBuffer = static_cast<int>(nListenerBuffer);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SOCKETNOTIFY && GetListener() != INVALID_SOCKET && Readable(GetListener())) {
            ++m_nReceived;  // the handler reads exactly this one datagram
            m_dLastMs = NowMs();
        } else if (message == WM_HOSTCHECKED) {
            ++m_nChecks;
            m_dLastMs = NowMs();
        }
        const LRESULT r = CMainFrame::WindowProc(message, wParam, lParam);
        if (message == WM_SOCKETNOTIFY || message == WM_HOSTCHECKED) m_dLastMs = NowMs();
        return r;
    }
    long m_nReceived = 0;
    long m_nChecks = 0;
    double m_dLastMs = 0;
};

struct Run {
    CCountingFrame* pFrame = nullptr;
    std::string host, command;
    long nExpected = 0;
    int nMapDialogs = 0;
    double dStartMs = 0, dCpuStart = 0;
    SIZE_T nWorkingSetBefore = 0;
    std::string reply;
};
Run g_run;

// Pumps until the burst has been sent and the frame has had nothing to do for a second; then reports
// and ends the process (dialogs of the chain may still be open: the figures are taken).
void MeasureToTheEnd() {
    Run& r = g_run;
    if (r.dStartMs == 0) {
        PROCESS_MEMORY_COUNTERS before{};
        GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
        r.nWorkingSetBefore = before.WorkingSetSize;
        r.dCpuStart = CpuSeconds();
        r.dStartMs = NowMs();
        r.reply = SimControl(r.host, 7000, r.command);
    }
    for (;;) {
        AfxPumpPendingMessages();
        const double dNow = NowMs();
        const bool bQuiet = !Readable(r.pFrame->GetListener()) && r.pFrame->GetNoticeGate().PendingChecks() == 0 &&
                            dNow - (r.pFrame->m_dLastMs > 0 ? r.pFrame->m_dLastMs : r.dStartMs) > 1000;
        if (bQuiet || dNow - r.dStartMs > 60000) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    const double dLast = r.pFrame->m_dLastMs > 0 ? r.pFrame->m_dLastMs - r.dStartMs : -1;
    // CPU up to the end of the quiet second's polling, which costs next to nothing.
    const double dCpu = CpuSeconds() - r.dCpuStart;
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    int nRcvBuf = -1, nLength = sizeof nRcvBuf;
    getsockopt(r.pFrame->GetListener(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&nRcvBuf), &nLength);
    const CNoticeGate& gate = r.pFrame->GetNoticeGate();
    printf(
        "RESULT sent=%ld received=%ld gate_dropped=%llu checks=%ld taken=%d map_dialogs=%d last_ms=%.0f "
        "cpu_s=%.2f peak_ws_kb=%zu ws_growth_kb=%lld rcvbuf=%d control=%s\n",
        r.nExpected, r.pFrame->m_nReceived, static_cast<unsigned long long>(gate.DroppedNotices()), r.pFrame->m_nChecks,
        static_cast<int>(g_mapPaths.GetCount()), r.nMapDialogs, dLast, dCpu,
        static_cast<size_t>(after.PeakWorkingSetSize / 1024),
        (static_cast<long long>(after.PeakWorkingSetSize) - static_cast<long long>(r.nWorkingSetBefore)) / 1024,
        nRcvBuf, r.reply.substr(0, 2).c_str());
    fflush(stdout);
    ExitProcess(0);
}

}  // namespace

int main(int argc, char** argv) {
    long nCount = 0, nEach = 0, nRcvBuf = -1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (strcmp(argv[i], "--host") == 0) {
            std::string variable = std::string("ZT_HOST_") + argv[i + 1];
            for (char& c : variable) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
            const char* pszHost = getenv(variable.c_str());
            g_run.host = pszHost ? pszHost : "";
        }
        if (strcmp(argv[i], "--count") == 0) nCount = strtol(argv[i + 1], nullptr, 10);
        if (strcmp(argv[i], "--each") == 0) nEach = strtol(argv[i + 1], nullptr, 10);
        if (strcmp(argv[i], "--rcvbuf") == 0) nRcvBuf = strtol(argv[i + 1], nullptr, 10);
    }
    const char* pszPc = getenv("ZT_PC_ADDR1");
    if (g_run.host.empty() || nCount < 1 || nEach < 1 || !pszPc) {
        fprintf(stderr, "usage: tray_burst_bench.exe --host NAME --count N --each M [--rcvbuf BYTES] (in a lab)\n");
        return 2;
    }
    g_run.nExpected = nCount * nEach;

    CWinApp app("Pebblink");
    AfxWinInit(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW);
    WSADATA data;
    WSAStartup(0x0101, &data);
    CreateQueueLocks();
    CNoDiscovery network;
    CTrayNetwork::Install(&network);

    // The first appliance's name, for a burst from one.
    std::string names = SimControl(g_run.host, 7000, "list");
    std::string first = names.size() > 3 ? names.substr(3, names.find('=') - 3) : "";
    g_run.command =
        "burst " + (nCount > 1 ? std::string("*") : first) + " " + std::to_string(nEach) + " available " + pszPc;

    // Every map dialog the chain opens stays open while the burst goes on, as it would for a user who
    // does not answer it; the figures are taken from inside its loop.
    CModalHook hook([](CDialog*) {
        ++g_run.nMapDialogs;
        MeasureToTheEnd();
    });

    g_run.pFrame = new CCountingFrame(nRcvBuf);
    if (!g_run.pFrame->LoadFrame(IDR_MAINFRAME) || g_run.pFrame->GetListener() == INVALID_SOCKET) {
        fprintf(stderr, "tray_burst_bench: no frame or no listener on port 917\n");
        return 3;
    }
    // Start-up's own discovery step first.
    const double dUntil = NowMs() + 500;
    while (NowMs() < dUntil) {
        AfxPumpPendingMessages();
        Sleep(5);
    }
    MeasureToTheEnd();
    return 0;
}
