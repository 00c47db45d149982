// The harness's own end-to-end check: a dialog that sends one broadcast datagram from a socket bound to each
// local address in turn and lists the replies. It proves compiler, resources, Wine, Xvfb, the lab's namespaces,
// binding, broadcast and the reply path together.
//   probe.exe            interactive: press Probe
//   probe.exe /auto N    probe at once, write the results and a screenshot to %ZT_ARTIFACTS_WIN%, close, and
//                        exit 0 only when every local address got replies from N responders on its own subnet
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Screenshot.h"
#include "probe_ids.h"

namespace {

const unsigned short kProbePort = 40915;

struct ProbeResult {
    std::vector<std::string> lines;
    bool allAnswered = true;
};

std::string Dotted(unsigned long addr) {
    in_addr a;
    a.s_addr = addr;
    return inet_ntoa(a);
}

std::vector<unsigned long> LocalAddresses() {
    std::vector<unsigned long> out;
    char name[256] = {};
    if (gethostname(name, sizeof(name) - 1) != 0) return out;
    hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET) return out;
    for (char** p = host->h_addr_list; *p; ++p) {
        unsigned long a;
        memcpy(&a, *p, sizeof(a));
        out.push_back(a);
    }
    return out;
}

// Replies from one bound socket for up to a second; the socket was bound to `local`.
void CollectReplies(SOCKET s, unsigned long local, int expected, ProbeResult& r) {
    int got = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(s, &fds);
        timeval tv{0, 100 * 1000};
        if (select(0, &fds, nullptr, nullptr, &tv) <= 0) continue;
        char buf[512];
        sockaddr_in from{};
        int fromLen = sizeof(from);
        int n = recvfrom(s, buf, sizeof(buf) - 1, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < 0) break;
        buf[n] = 0;
        // A reply must come from the bound address's own /24: the broadcast left through that interface only.
        bool sameSubnet = (ntohl(from.sin_addr.s_addr) & 0xFFFFFF00u) == (ntohl(local) & 0xFFFFFF00u);
        r.lines.push_back("  reply from " + Dotted(from.sin_addr.s_addr) + (sameSubnet ? "" : " (OTHER SUBNET)") +
                          ": " + buf);
        if (sameSubnet)
            ++got;
        else
            r.allAnswered = false;
    }
    if (got < expected) r.allAnswered = false;
}

ProbeResult Probe(int expected) {
    ProbeResult r;
    std::vector<unsigned long> locals = LocalAddresses();
    std::string list;
    for (unsigned long a : locals) list += " " + Dotted(a);
    r.lines.push_back("local addresses:" + list);
    if (locals.empty()) r.allAnswered = false;
    for (unsigned long local : locals) {
        r.lines.push_back("from " + Dotted(local) + ":");
        SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        BOOL on = TRUE;
        setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof(on));
        sockaddr_in bindAddr{};
        bindAddr.sin_family = AF_INET;
        bindAddr.sin_addr.s_addr = local;
        if (bind(s, reinterpret_cast<sockaddr*>(&bindAddr), sizeof(bindAddr)) != 0) {
            r.lines.push_back("  bind failed: " + std::to_string(WSAGetLastError()));
            r.allAnswered = false;
            closesocket(s);
            continue;
        }
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(kProbePort);
        to.sin_addr.s_addr = INADDR_BROADCAST;
        std::string msg = "probe from " + Dotted(local);
        if (sendto(s, msg.data(), static_cast<int>(msg.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof(to)) < 0) {
            r.lines.push_back("  sendto failed: " + std::to_string(WSAGetLastError()));
            r.allAnswered = false;
        } else {
            CollectReplies(s, local, expected, r);
        }
        closesocket(s);
    }
    return r;
}

struct Options {
    bool automatic = false;
    int expected = 1;
    int exitCode = 1;
};

void ShowResult(HWND dlg, const ProbeResult& r) {
    HWND list = GetDlgItem(dlg, IDC_RESULTS);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : r.lines) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(list, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(r.allAnswered ? "result: every address answered" : "result: FAILED"));
}

INT_PTR CALLBACK ProbeProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    Options* opt = reinterpret_cast<Options*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dlg, DWLP_USER, lParam);
            // Probe once the dialog is on the screen, so that the screenshot shows it.
            if (reinterpret_cast<Options*>(lParam)->automatic) SetTimer(dlg, 1, 300, nullptr);
            return TRUE;
        case WM_TIMER:
            KillTimer(dlg, 1);
            SendMessageA(dlg, WM_COMMAND, IDC_PROBE, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_PROBE) {
                ProbeResult r = Probe(opt->expected);
                ShowResult(dlg, r);
                if (opt->automatic) {
                    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                    const char* dir = getenv("ZT_ARTIFACTS_WIN");
                    std::string base = std::string(dir ? dir : ".") + "\\probe";
                    SaveScreenshot(dlg, (base + ".bmp").c_str());
                    for (const std::string& line : r.lines) printf("%s\n", line.c_str());
                    printf("%s\n", r.allAnswered ? "probe: every address answered" : "probe: FAILED");
                    fflush(stdout);
                    opt->exitCode = r.allAnswered ? 0 : 1;
                    EndDialog(dlg, IDOK);
                }
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    Options opt;
    if (strncmp(cmdLine, "/auto", 5) == 0) {
        opt.automatic = true;
        opt.expected = atoi(cmdLine + 5) > 0 ? atoi(cmdLine + 5) : 1;
        // A test tool must not send outside the lab; the harness sets ZT_LAB inside it.
        if (!getenv("ZT_LAB")) {
            fprintf(stderr, "probe: REFUSED: /auto runs only inside the lab (ZT_LAB is not set)\n");
            return 3;
        }
    }
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return 2;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PROBE), nullptr, ProbeProc, reinterpret_cast<LPARAM>(&opt));
    WSACleanup();
    return opt.exitCode;
}
