// The platform layer on Linux: BSD sockets, getifaddrs and the monotonic clock.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "DatagramSetup.h"
#include "DatagramSocket.h"

namespace {

class CPosixDatagramSocket : public IDatagramSocket {
public:
    ~CPosixDatagramSocket() override { Close(); }

    bool Open(uint32_t localAddress, uint16_t nLocalPort) override {
        Close();
        m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (m_fd < 0 || !BroadcastAndBind(m_fd, localAddress, nLocalPort)) return Fail();
        return true;
    }

    bool SendTo(uint32_t address, uint16_t nPort, const uint8_t* pData, size_t nLength) override {
        sockaddr_in to = Endpoint(address, nPort);
        if (sendto(m_fd, pData, nLength, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) return Fail();
        return true;
    }

    WaitResult WaitReadable(uint32_t nTimeoutMs) override {
        pollfd p{m_fd, POLLIN, 0};
        for (;;) {
            int n = poll(&p, 1, static_cast<int>(nTimeoutMs));
            if (n > 0) return READABLE;
            if (n == 0) return TIMED_OUT;
            if (errno != EINTR) {
                m_nError = errno;
                return FAILED;
            }
        }
    }

    bool Receive(uint8_t* pBuffer, size_t nCap, size_t& nReceived, uint32_t& sender) override {
        sockaddr_in from{};
        socklen_t nFrom = sizeof from;
        ssize_t n = recvfrom(m_fd, pBuffer, nCap, 0, reinterpret_cast<sockaddr*>(&from), &nFrom);
        if (n < 0) return Fail();
        nReceived = static_cast<size_t>(n);
        sender = from.sin_addr.s_addr;
        return true;
    }

    void Close() override {
        if (m_fd >= 0) close(m_fd);
        m_fd = -1;
    }

    std::string LastError() const override { return strerror(m_nError); }

private:
    bool Fail() {
        m_nError = errno;
        return false;
    }

    int m_fd = -1;
    int m_nError = 0;
};

}  // namespace

bool CPlatform::Startup(std::string&) {
    return true;
}

std::unique_ptr<IDatagramSocket> CPlatform::NewSocket() {
    return std::make_unique<CPosixDatagramSocket>();
}

std::vector<LocalInterface> CPlatform::Interfaces() {
    std::vector<LocalInterface> result;
    ifaddrs* pList = nullptr;
    if (getifaddrs(&pList) != 0) return result;
    for (ifaddrs* p = pList; p; p = p->ifa_next) {
        if (!p->ifa_addr || p->ifa_addr->sa_family != AF_INET || !p->ifa_netmask) continue;
        if (!(p->ifa_flags & IFF_UP) || (p->ifa_flags & IFF_LOOPBACK)) continue;
        result.push_back({reinterpret_cast<sockaddr_in*>(p->ifa_addr)->sin_addr.s_addr,
                          reinterpret_cast<sockaddr_in*>(p->ifa_netmask)->sin_addr.s_addr});
    }
    freeifaddrs(pList);
    return result;
}

uint64_t CPlatform::NowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
