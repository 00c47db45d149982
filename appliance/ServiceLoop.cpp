// Sockets and main loop of zsim.
#include "ServiceLoop.h"

#include "TextFormat.h"
#include "UsbPacket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

static volatile sig_atomic_t g_stopSignal = 0;

static void OnStopSignal(int signo) {
    g_stopSignal = signo;
}

int64_t MonotonicMs() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::vector<HostAddress> ReadHostAddresses() {
    std::vector<HostAddress> out;
    struct ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return out;
    for (struct ifaddrs* it = list; it; it = it->ifa_next) {
        if (!it->ifa_addr || it->ifa_addr->sa_family != AF_INET || (it->ifa_flags & IFF_LOOPBACK)) continue;
        uint32_t address = ntohl(reinterpret_cast<sockaddr_in*>(it->ifa_addr)->sin_addr.s_addr);
        uint32_t mask = it->ifa_netmask ? ntohl(reinterpret_cast<sockaddr_in*>(it->ifa_netmask)->sin_addr.s_addr) : 0;
        out.push_back({address, __builtin_popcount(mask), it->ifa_name});
    }
    freeifaddrs(list);
    return out;
}

CServiceLoop::CServiceLoop(CSimulator& simulator, const std::vector<HostAddress>& hostAddresses)
    : m_simulator(simulator), m_interpreter(simulator), m_hostAddresses(hostAddresses) {
    std::vector<uint32_t> addresses;
    for (const HostAddress& h : hostAddresses) addresses.push_back(h.address);
    m_simulator.SetHostAddresses(addresses);
    m_simulator.SetAddressHook([this](uint32_t address) { return AddAddress(address); });
}

CServiceLoop::~CServiceLoop() {
    for (Client& c : m_clients) close(c.fd);
    for (int fd : {m_config, m_usb, m_unixListener, m_tcpListener}) {
        if (fd >= 0) close(fd);
    }
    if (!m_unixPath.empty()) unlink(m_unixPath.c_str());
}

// An appliance that moves to an address the host lacks gets it added to the interface of its old one.
bool CServiceLoop::AddAddress(uint32_t address) {
    for (const HostAddress& h : m_hostAddresses) {
        if (h.address == address) return true;
    }
    if (m_hostAddresses.empty()) return false;
    const HostAddress& first = m_hostAddresses.front();
    std::string cidr = FormatAddress(address) + "/" + std::to_string(first.prefixLength);
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        execlp("ip", "ip", "-4", "addr", "add", cidr.c_str(), "dev", first.interfaceName.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    m_hostAddresses.push_back({address, first.prefixLength, first.interfaceName});
    std::vector<uint32_t> addresses;
    for (const HostAddress& h : m_hostAddresses) addresses.push_back(h.address);
    m_simulator.SetHostAddresses(addresses);
    return true;
}

static int OpenUdp(uint16_t port, std::string* error) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::string("socket: ") + strerror(errno);
        return -1;
    }
    int one = 1;
    int big = 4 << 20;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
    if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &one, sizeof one) != 0) {
        *error = std::string("setsockopt: ") + strerror(errno);
        close(fd);
        return -1;
    }
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(port);
    sin.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin) != 0) {
        *error = "bind UDP " + std::to_string(port) + ": " + strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

bool CServiceLoop::OpenServices(std::string* error) {
    m_config = OpenUdp(CONFIG_PORT, error);
    if (m_config < 0) return false;
    m_usb = OpenUdp(USB_SERVICE_PORT, error);
    return m_usb >= 0;
}

bool CServiceLoop::OpenControl(const std::string& unixPath, uint32_t tcpAddress, uint16_t tcpPort, std::string* error) {
    if (!unixPath.empty()) {
        sockaddr_un sun{};
        sun.sun_family = AF_UNIX;
        if (unixPath.size() >= sizeof sun.sun_path) {
            *error = "control socket path too long";
            return false;
        }
        memcpy(sun.sun_path, unixPath.c_str(), unixPath.size() + 1);
        m_unixListener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        unlink(unixPath.c_str());
        if (m_unixListener < 0 || bind(m_unixListener, reinterpret_cast<sockaddr*>(&sun), sizeof sun) != 0 ||
            listen(m_unixListener, 16) != 0) {
            *error = "control socket " + unixPath + ": " + strerror(errno);
            return false;
        }
        m_unixPath = unixPath;
    }
    if (tcpPort) {
        m_tcpListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        sockaddr_in sin{};
        sin.sin_family = AF_INET;
        sin.sin_port = htons(tcpPort);
        sin.sin_addr.s_addr = htonl(tcpAddress);
        if (m_tcpListener < 0 || setsockopt(m_tcpListener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
            bind(m_tcpListener, reinterpret_cast<sockaddr*>(&sin), sizeof sin) != 0 || listen(m_tcpListener, 16) != 0) {
            *error = "control port " + FormatEndpoint(tcpAddress, tcpPort) + ": " + strerror(errno);
            return false;
        }
    }
    return true;
}

namespace {

// Room for the IP_PKTINFO control message that names the local address a datagram came to or leaves from.
struct PacketInfoControl {
    alignas(cmsghdr) char bytes[CMSG_SPACE(sizeof(in_pktinfo))];
};

msghdr PacketInfoMessage(sockaddr_in* peer, iovec* iov, PacketInfoControl* control) {
    msghdr msg{};
    msg.msg_name = peer;
    msg.msg_namelen = sizeof *peer;
    msg.msg_iov = iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control->bytes;
    msg.msg_controllen = sizeof control->bytes;
    return msg;
}

}  // namespace

void CServiceLoop::ReceiveAll(int fd, uint16_t port) {
    // Drain what is queued, a bounded number at a time so that the control channel is not starved.
    for (int i = 0; i < 256; ++i) {
        static uint8_t buffer[65536];
        sockaddr_in peer{};
        iovec iov{buffer, sizeof buffer};
        PacketInfoControl control{};
        msghdr msg = PacketInfoMessage(&peer, &iov, &control);
        ssize_t n = recvmsg(fd, &msg, MSG_DONTWAIT | MSG_TRUNC);
        if (n < 0) return;
        Datagram in;
        in.localPort = port;
        in.peerAddress = ntohl(peer.sin_addr.s_addr);
        in.peerPort = ntohs(peer.sin_port);
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                memcpy(&info, CMSG_DATA(c), sizeof info);
                in.localAddress = ntohl(info.ipi_addr.s_addr);
            }
        }
        size_t size = static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n) : sizeof buffer;
        in.bytes.assign(buffer, buffer + size);
        m_simulator.OnDatagram(MonotonicMs(), in);
    }
}

void CServiceLoop::SendDue() {
    for (const Datagram& d : m_simulator.TakeDue(MonotonicMs())) {
        int fd = d.localPort == USB_SERVICE_PORT ? m_usb : m_config;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(d.peerPort);
        to.sin_addr.s_addr = htonl(d.peerAddress);
        iovec iov{const_cast<uint8_t*>(d.bytes.data()), d.bytes.size()};
        PacketInfoControl control{};
        msghdr msg = PacketInfoMessage(&to, &iov, &control);
        cmsghdr* c = CMSG_FIRSTHDR(&msg);
        c->cmsg_level = IPPROTO_IP;
        c->cmsg_type = IP_PKTINFO;
        c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_spec_dst.s_addr = htonl(d.localAddress);
        memcpy(CMSG_DATA(c), &info, sizeof info);
        if (sendmsg(fd, &msg, 0) < 0) {
            m_simulator.LogEvent(MonotonicMs(), "",
                                 "send from " + FormatAddress(d.localAddress) + " to " +
                                     FormatEndpoint(d.peerAddress, d.peerPort) + " failed: " + strerror(errno));
        }
    }
}

void CServiceLoop::OnClientReadable(Client& client, bool* closeIt) {
    char buf[4096];
    ssize_t n = recv(client.fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n <= 0) {
        *closeIt = n == 0 || (errno != EAGAIN && errno != EINTR);
        return;
    }
    client.input.append(buf, static_cast<size_t>(n));
    size_t eol;
    while ((eol = client.input.find('\n')) != std::string::npos) {
        std::string line = client.input.substr(0, eol);
        client.input.erase(0, eol + 1);
        std::string reply = m_interpreter.Execute(MonotonicMs(), line, &m_quit) + "\n";
        if (send(client.fd, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) {
            *closeIt = true;
            return;
        }
    }
    if (client.input.size() > 65536) {
        static const char tooLong[] = "ERR line too long\n";
        send(client.fd, tooLong, sizeof tooLong - 1, MSG_NOSIGNAL);
        *closeIt = true;
    }
}

void CServiceLoop::Run() {
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    while (!m_quit && !g_stopSignal) {
        SendDue();
        int timeout = 1000;
        int64_t due = m_simulator.NextDue();
        if (due >= 0) {
            int64_t wait = due - MonotonicMs();
            timeout = wait < 0 ? 0 : wait < timeout ? static_cast<int>(wait) : timeout;
        }
        std::vector<pollfd> fds;
        for (int fd : {m_config, m_usb, m_unixListener, m_tcpListener}) fds.push_back({fd, POLLIN, 0});
        for (const Client& c : m_clients) fds.push_back({c.fd, POLLIN, 0});
        if (poll(fds.data(), fds.size(), timeout) < 0) continue;
        if (fds[0].revents & POLLIN) ReceiveAll(m_config, CONFIG_PORT);
        if (fds[1].revents & POLLIN) ReceiveAll(m_usb, USB_SERVICE_PORT);
        for (int i : {2, 3}) {
            if (fds[i].revents & POLLIN) {
                int fd = accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0) m_clients.push_back({fd, std::string()});
            }
        }
        std::vector<Client> kept;
        for (size_t k = 0; k + 4 < fds.size(); ++k) {
            Client& c = m_clients[k];
            bool closeIt = false;
            if (fds[k + 4].revents & (POLLIN | POLLHUP | POLLERR)) OnClientReadable(c, &closeIt);
            if (closeIt)
                close(c.fd);
            else
                kept.push_back(std::move(c));
        }
        // Clients accepted in this round are not in fds yet.
        for (size_t k = fds.size() - 4; k < m_clients.size(); ++k) kept.push_back(std::move(m_clients[k]));
        m_clients = std::move(kept);
    }
    SendDue();
    m_simulator.DiscardPending(MonotonicMs());
}
