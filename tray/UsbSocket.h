// What the discovery and the eject query need of one UDP socket. The product implements it with
// WinSock (CWinsockUsbSocket); the native tests drive the schedules through a scripted socket on a
// virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>

class IUsbSocket {
public:
    enum WaitResult { READABLE, TIMED_OUT, SELECT_FAILED };

    virtual ~IUsbSocket() = default;

    // Creates a UDP socket with SO_BROADCAST set to 1, bound to localAddress (network byte order,
    // 0 for any local address) and port 0. False when creation, setsockopt or bind failed; the socket
    // is then closed.
    virtual bool Open(uint32_t localAddress) = 0;
    // Sends len bytes to 255.255.255.255 on the service port.
    virtual bool SendBroadcast(const uint8_t* data, size_t len) = 0;
    // Waits until a datagram can be read, at most timeoutMs milliseconds.
    virtual WaitResult WaitReadable(uint32_t timeoutMs) = 0;
    // Reads one datagram of at most cap bytes; its length and its sender (network byte order).
    virtual bool Receive(uint8_t* buffer, size_t cap, size_t& received, uint32_t& sender) = 0;
    // Closes the socket; harmless when none is open.
    virtual void Close() = 0;
    // Milliseconds of a monotonic clock: a wait that a stray datagram cut short goes on to its deadline.
    virtual uint64_t NowMs() = 0;
};
