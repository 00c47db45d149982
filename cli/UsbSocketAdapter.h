// CUsbSocketAdapter: the tray's USB-disk schedules (discovery, eject query) run over the tool's socket
// layer. With an expected sender, datagrams from any other address are dropped while waiting, so that only
// the appliance itself can answer an eject.
#pragma once

#include <memory>

#include "DatagramSocket.h"
#include "UsbPacket.h"
#include "UsbSocket.h"

class CUsbSocketAdapter : public IUsbSocket {
public:
    // bindTo: when nonzero, every socket is bound to this local address whatever the schedule asks for.
    CUsbSocketAdapter(uint32_t bindTo = 0, uint32_t expectedSender = 0)
        : m_bindTo(bindTo), m_expectedSender(expectedSender), m_socket(CPlatform::NewSocket()) {}

    bool Open(uint32_t localAddress) override;
    bool SendBroadcast(const uint8_t* data, size_t len) override;
    WaitResult WaitReadable(uint32_t timeoutMs) override;
    bool Receive(uint8_t* buffer, size_t cap, size_t& received, uint32_t& sender) override;
    void Close() override { m_socket->Close(); }
    uint64_t NowMs() override { return CPlatform::NowMs(); }

    std::string LastError() const { return m_socket->LastError(); }

private:
    uint32_t m_bindTo;
    uint32_t m_expectedSender;
    std::unique_ptr<IDatagramSocket> m_socket;
    // A datagram from the expected sender, taken while waiting and handed out by Receive.
    uint8_t m_held[USB_RECEIVE_SIZE] = {};
    size_t m_nHeld = 0;
    bool m_bHeld = false;
};
