// The platform layer on Windows: WinSock 2, the adapters of GetAdaptersInfo and the tick count.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>

#include <vector>

#include "DatagramSetup.h"
#include "DatagramSocket.h"

namespace {

std::string ErrorText(int nError) {
    char sz[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(nError), 0,
                   sz, sizeof sz, nullptr);
    return std::to_string(nError) + " " + sz;
}

class CWinsockDatagramSocket : public IDatagramSocket {
public:
    ~CWinsockDatagramSocket() override { Close(); }

    bool Open(uint32_t localAddress, uint16_t nLocalPort) override {
        Close();
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        if (m_socket == INVALID_SOCKET || !BroadcastAndBind(m_socket, localAddress, nLocalPort)) return Fail();
        return true;
    }

    bool SendTo(uint32_t address, uint16_t nPort, const uint8_t* pData, size_t nLength) override {
        sockaddr_in to = Endpoint(address, nPort);
        if (sendto(m_socket, reinterpret_cast<const char*>(pData), static_cast<int>(nLength), 0,
                   reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR)
            return Fail();
        return true;
    }

    WaitResult WaitReadable(uint32_t nTimeoutMs) override {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval timeout{static_cast<long>(nTimeoutMs / 1000), static_cast<long>(nTimeoutMs % 1000) * 1000};
        int n = select(0, &readable, nullptr, nullptr, &timeout);
        if (n == SOCKET_ERROR) {
            m_nError = WSAGetLastError();
            return FAILED;
        }
        return n > 0 ? READABLE : TIMED_OUT;
    }

    bool Receive(uint8_t* pBuffer, size_t nCap, size_t& nReceived, uint32_t& sender) override {
        sockaddr_in from{};
        int nFrom = sizeof from;
        int n = recvfrom(m_socket, reinterpret_cast<char*>(pBuffer), static_cast<int>(nCap), 0,
                         reinterpret_cast<sockaddr*>(&from), &nFrom);
        // A datagram larger than the buffer arrives cut to it, as on Linux.
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE) n = static_cast<int>(nCap);
        if (n == SOCKET_ERROR) return Fail();
        nReceived = static_cast<size_t>(n);
        sender = from.sin_addr.s_addr;
        return true;
    }

    void Close() override {
        if (m_socket != INVALID_SOCKET) closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }

    std::string LastError() const override { return ErrorText(m_nError); }

private:
    bool Fail() {
        m_nError = WSAGetLastError();
        return false;
    }

    SOCKET m_socket = INVALID_SOCKET;
    int m_nError = 0;
};

}  // namespace

bool CPlatform::Startup(std::string& error) {
    WSADATA data;
    int nError = WSAStartup(MAKEWORD(2, 2), &data);
    if (nError != 0) error = "cannot start WinSock: " + ErrorText(nError);
    return nError == 0;
}

std::unique_ptr<IDatagramSocket> CPlatform::NewSocket() {
    return std::make_unique<CWinsockDatagramSocket>();
}

std::vector<LocalInterface> CPlatform::Interfaces() {
    std::vector<LocalInterface> result;
    ULONG nSize = 0;
    if (GetAdaptersInfo(nullptr, &nSize) != ERROR_BUFFER_OVERFLOW) return result;
    std::vector<uint8_t> buffer(nSize);
    auto* pList = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (GetAdaptersInfo(pList, &nSize) != NO_ERROR) return result;
    for (IP_ADAPTER_INFO* p = pList; p; p = p->Next) {
        for (IP_ADDR_STRING* a = &p->IpAddressList; a; a = a->Next) {
            in_addr address{}, mask{};
            if (inet_pton(AF_INET, a->IpAddress.String, &address) != 1 ||
                inet_pton(AF_INET, a->IpMask.String, &mask) != 1 || address.s_addr == 0)
                continue;
            result.push_back({address.s_addr, mask.s_addr});
        }
    }
    return result;
}

uint64_t CPlatform::NowMs() {
    return GetTickCount64();
}
