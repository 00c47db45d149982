// What the device-operation Wine tests need of the lab: the simulator's log of what reached it, its control
// channel, and waiting for network replies while a dialog's modal loop is held on virtual time.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

struct SimDatagram {
    std::string dir;    // rx, tx, drop
    std::string local;  // rx: where it was sent ("255.255.255.255:915" for a broadcast)
    std::string peer;
    int nType = -1;
    int nSequence = -1;
    int nStatus = 0;
    std::string hex;  // every byte of the datagram
};

// The simulator's JSON-lines log (read through Wine's Z: drive).
class CSimLog {
public:
    CSimLog() = default;
    explicit CSimLog(const std::string& unixPath) : m_path("Z:" + unixPath) {}
    // Every configuration datagram logged so far.
    std::vector<SimDatagram> Read() const;
    // The received requests (rx) so far.
    std::vector<SimDatagram> Requests() const;
    std::vector<SimDatagram> Replies() const;
    // Pumps the thread's messages until the log holds nCount requests, or nTimeout ms of real time passed.
    bool WaitForRequests(size_t nCount, DWORD dwTimeout = 3000) const;

private:
    std::string m_path;
};

// One command to the simulator's control channel (TCP); returns its reply line ("OK ..." or "ERR ...").
std::string SimControl(const std::string& host, int nPort, const std::string& command);

// Dispatches messages for nMilliseconds of real time (replies in flight arrive meanwhile).
void PumpFor(DWORD dwMilliseconds);

uint32_t Addr(const std::string& dotted);
std::string Dotted(uint32_t dwAddress);

// Command-line options of the test program: --sim NAME=LOGPATH.
std::string SimLogPath(const std::string& name);
void ParseLabArguments(int argc, char** argv);

// Saves what the window shows as NAME.bmp in the artifacts folder (%ZT_ARTIFACTS_WIN%), for a person to look at.
void SaveWindowPicture(HWND hWnd, const char* pszName);
