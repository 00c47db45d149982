// What the tool needs of the platform: one UDP socket bound to a local address, the PC's IPv4 interfaces and
// a monotonic clock. PosixDatagramSocket.cpp and WinsockDatagramSocket.cpp implement it; everything else of
// the tool is shared. Addresses are u32 in network order (the four octets in memory order).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IDatagramSocket {
public:
    enum WaitResult { READABLE, TIMED_OUT, FAILED };

    virtual ~IDatagramSocket() = default;

    // A UDP socket with SO_BROADCAST, bound to localAddress (0: any) and nLocalPort (0: any free port).
    virtual bool Open(uint32_t localAddress, uint16_t nLocalPort) = 0;
    virtual bool SendTo(uint32_t address, uint16_t nPort, const uint8_t* pData, size_t nLength) = 0;
    virtual WaitResult WaitReadable(uint32_t nTimeoutMs) = 0;
    // One datagram of at most nCap bytes, its length and its sender.
    virtual bool Receive(uint8_t* pBuffer, size_t nCap, size_t& nReceived, uint32_t& sender) = 0;
    virtual void Close() = 0;
    // The platform's text for the last failure.
    virtual std::string LastError() const = 0;
};

struct LocalInterface {
    uint32_t address;
    uint32_t mask;
};

class CPlatform {
public:
    // Starts the socket library where the platform needs it; false with a text when it cannot.
    static bool Startup(std::string& error);
    static std::unique_ptr<IDatagramSocket> NewSocket();
    // The PC's IPv4 interfaces that are up, loopback left out, in the platform's order.
    static std::vector<LocalInterface> Interfaces();
    static uint64_t NowMs();
};
