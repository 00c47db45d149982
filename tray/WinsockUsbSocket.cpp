// WinSock calls behind the discovery and eject schedules.
#include "WinsockUsbSocket.h"

#include "UsbPacket.h"

bool CWinsockUsbSocket::Open(uint32_t localAddress) {
    Close();
    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    if (m_socket == INVALID_SOCKET) return false;
    BOOL broadcast = TRUE;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = localAddress;
    local.sin_port = 0;
    if (setsockopt(m_socket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&broadcast), sizeof broadcast) ==
            SOCKET_ERROR ||
        bind(m_socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
        Close();
        return false;
    }
    return true;
}

bool CWinsockUsbSocket::SendBroadcast(const uint8_t* data, size_t len) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = INADDR_BROADCAST;
    to.sin_port = htons(USB_SERVICE_PORT);
    int sent = sendto(m_socket, reinterpret_cast<const char*>(data), static_cast<int>(len), 0,
                      reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return sent != SOCKET_ERROR;
}

IUsbSocket::WaitResult CWinsockUsbSocket::WaitReadable(uint32_t timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_socket, &readable);
    timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    int ready = select(0, &readable, nullptr, nullptr, &timeout);
    if (ready == SOCKET_ERROR) return SELECT_FAILED;
    return ready == 0 ? TIMED_OUT : READABLE;
}

bool CWinsockUsbSocket::Receive(uint8_t* buffer, size_t cap, size_t& received, uint32_t& sender) {
    sockaddr_in from{};
    int fromLen = sizeof from;
    int got = recvfrom(m_socket, reinterpret_cast<char*>(buffer), static_cast<int>(cap), 0,
                       reinterpret_cast<sockaddr*>(&from), &fromLen);
    // A datagram longer than the buffer is still a reply; its first bytes are all that is used.
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE) got = static_cast<int>(cap);
    if (got == SOCKET_ERROR) return false;
    received = static_cast<size_t>(got);
    sender = from.sin_addr.s_addr;
    return true;
}

void CWinsockUsbSocket::Close() {
    if (m_socket != INVALID_SOCKET) closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

uint64_t CWinsockUsbSocket::NowMs() {
    return GetTickCount64();
}
