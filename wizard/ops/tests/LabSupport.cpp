// Lab support of the device-operation Wine tests.
#include "LabSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "Framework.h"
#include "MessagePump.h"

namespace {

std::map<std::string, std::string> g_simLogs;

std::string StringField(const std::string& line, const char* key) {
    std::string pattern = std::string("\"") + key + "\":\"";
    size_t pos = line.find(pattern);
    if (pos == std::string::npos) return "";
    pos += pattern.size();
    size_t end = line.find('"', pos);
    return line.substr(pos, end - pos);
}

int IntField(const std::string& line, const char* key, int nDefault) {
    std::string pattern = std::string("\"") + key + "\":";
    size_t pos = line.find(pattern);
    if (pos == std::string::npos) return nDefault;
    return atoi(line.c_str() + pos + pattern.size());
}

}  // namespace

std::vector<SimDatagram> CSimLog::Read() const {
    std::vector<SimDatagram> out;
    FILE* f = fopen(m_path.c_str(), "rb");
    if (!f) return out;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) break;  // a line still being written
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (StringField(line, "service") != "config") continue;
        SimDatagram d;
        d.dir = StringField(line, "dir");
        d.local = StringField(line, "local");
        d.peer = StringField(line, "peer");
        d.nType = IntField(line, "wType", -1);
        d.nSequence = IntField(line, "wSequence", -1);
        d.nStatus = IntField(line, "wStatus", 0);
        d.hex = StringField(line, "hex");
        out.push_back(d);
    }
    return out;
}

std::vector<SimDatagram> CSimLog::Requests() const {
    std::vector<SimDatagram> out;
    for (const SimDatagram& d : Read())
        if (d.dir == "rx") out.push_back(d);
    return out;
}

std::vector<SimDatagram> CSimLog::Replies() const {
    std::vector<SimDatagram> out;
    for (const SimDatagram& d : Read())
        if (d.dir == "tx") out.push_back(d);
    return out;
}

bool CSimLog::WaitForRequests(size_t nCount, DWORD dwTimeout) const {
    DWORD dwStart = GetTickCount();
    for (;;) {
        AfxPumpPendingMessages();
        if (Requests().size() >= nCount) return true;
        if (GetTickCount() - dwStart > dwTimeout) return false;
        Sleep(20);
    }
}

std::string SimControl(const std::string& host, int nPort, const std::string& command) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr(host.c_str());
    to.sin_port = htons(static_cast<u_short>(nPort));
    std::string reply;
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
        std::string line = command + "\n";
        send(s, line.c_str(), static_cast<int>(line.size()), 0);
        char c;
        while (recv(s, &c, 1, 0) == 1 && c != '\n') reply += c;
    }
    closesocket(s);
    return reply;
}

void PumpFor(DWORD dwMilliseconds) {
    PumpFor(dwMilliseconds, AfxPumpPendingMessages);
}

uint32_t Addr(const std::string& dotted) {
    return inet_addr(dotted.c_str());
}

std::string Dotted(uint32_t dwAddress) {
    in_addr a;
    a.s_addr = dwAddress;
    return inet_ntoa(a);
}

std::string SimLogPath(const std::string& name) {
    auto it = g_simLogs.find(name);
    return it == g_simLogs.end() ? "" : it->second;
}

void ParseLabArguments(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (strcmp(argv[i], "--sim") == 0) {
            std::string spec = argv[i + 1];
            size_t eq = spec.find('=');
            if (eq != std::string::npos) g_simLogs[spec.substr(0, eq)] = spec.substr(eq + 1);
        }
}

void SaveWindowPicture(HWND hWnd, const char* pszName) {
    const char* pszFolder = getenv("ZT_ARTIFACTS_WIN");
    if (!pszFolder || !hWnd) return;
    UpdateWindow(hWnd);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC hScreen = GetDC(nullptr);
    HDC hMem = CreateCompatibleDC(hScreen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(hScreen, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = SelectObject(hMem, hBitmap);
    BitBlt(hMem, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hMem, hOld);
    int nStride = ((cx * 3) + 3) & ~3;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(nStride * cy);
    std::string path = std::string(pszFolder) + "\\" + pszName + ".bmp";
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(pBits, 1, static_cast<size_t>(nStride * cy), f);
        fclose(f);
    }
    DeleteObject(hBitmap);
    DeleteDC(hMem);
    ReleaseDC(nullptr, hScreen);
}
