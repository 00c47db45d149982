// The USB-disk schedules over the tool's sockets.
#include "UsbSocketAdapter.h"

#include <algorithm>
#include <cstring>

#include "UsbPacket.h"

bool CUsbSocketAdapter::Open(uint32_t localAddress) {
    m_bHeld = false;
    return m_socket->Open(m_bindTo ? m_bindTo : localAddress, 0);
}

bool CUsbSocketAdapter::SendBroadcast(const uint8_t* data, size_t len) {
    return m_socket->SendTo(0xFFFFFFFF, USB_SERVICE_PORT, data, len);
}

IUsbSocket::WaitResult CUsbSocketAdapter::WaitReadable(uint32_t timeoutMs) {
    if (m_expectedSender == 0) {
        switch (m_socket->WaitReadable(timeoutMs)) {
            case IDatagramSocket::READABLE:
                return READABLE;
            case IDatagramSocket::TIMED_OUT:
                return TIMED_OUT;
            case IDatagramSocket::FAILED:
                break;
        }
        return SELECT_FAILED;
    }
    const uint64_t nDue = CPlatform::NowMs() + timeoutMs;
    for (uint64_t nNow = CPlatform::NowMs(); nNow < nDue || m_bHeld; nNow = CPlatform::NowMs()) {
        if (m_bHeld) return READABLE;
        IDatagramSocket::WaitResult wait = m_socket->WaitReadable(static_cast<uint32_t>(nDue - nNow));
        if (wait == IDatagramSocket::FAILED) return SELECT_FAILED;
        if (wait == IDatagramSocket::TIMED_OUT) break;
        uint32_t sender = 0;
        if (!m_socket->Receive(m_held, sizeof m_held, m_nHeld, sender)) return SELECT_FAILED;
        m_bHeld = sender == m_expectedSender;
    }
    return TIMED_OUT;
}

bool CUsbSocketAdapter::Receive(uint8_t* buffer, size_t cap, size_t& received, uint32_t& sender) {
    if (m_expectedSender == 0) return m_socket->Receive(buffer, cap, received, sender);
    if (!m_bHeld) return false;
    received = std::min(cap, m_nHeld);
    memcpy(buffer, m_held, received);
    sender = m_expectedSender;
    m_bHeld = false;
    return true;
}
