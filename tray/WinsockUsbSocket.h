// IUsbSocket over a WinSock UDP socket: the sockets of the discovery and the eject query.
#pragma once

#include "UsbSocket.h"

#include <winsock2.h>

class CWinsockUsbSocket : public IUsbSocket {
public:
    CWinsockUsbSocket() = default;
    CWinsockUsbSocket(const CWinsockUsbSocket&) = delete;
    CWinsockUsbSocket& operator=(const CWinsockUsbSocket&) = delete;
    ~CWinsockUsbSocket() override { Close(); }

    bool Open(uint32_t localAddress) override;
    bool SendBroadcast(const uint8_t* data, size_t len) override;
    // select on the socket alone; a tests' subclass may shorten the wait.
    WaitResult WaitReadable(uint32_t timeoutMs) override;
    bool Receive(uint8_t* buffer, size_t cap, size_t& received, uint32_t& sender) override;
    void Close() override;
    uint64_t NowMs() override;

private:
    SOCKET m_socket = INVALID_SOCKET;
};
