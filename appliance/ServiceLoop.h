// The simulator's sockets and main loop: UDP 915 and 917 on every address of the host (IP_PKTINFO tells
// which address a datagram was sent to and sets the source of each reply), the control channel on a Unix
// socket and on a TCP port of the host's lab address, and the outbox timer.
#pragma once

#include "ControlInterpreter.h"
#include "Simulator.h"

#include <cstdint>
#include <string>
#include <vector>

struct HostAddress {
    uint32_t address;
    int prefixLength;
    std::string interfaceName;
};

// The host's IPv4 addresses other than loopback.
std::vector<HostAddress> ReadHostAddresses();

class CServiceLoop {
public:
    CServiceLoop(CSimulator& simulator, const std::vector<HostAddress>& hostAddresses);
    ~CServiceLoop();

    bool OpenControl(const std::string& unixPath, uint32_t tcpAddress, uint16_t tcpPort, std::string* error);
    bool OpenServices(std::string* error);
    // Runs until "quit" or SIGINT/SIGTERM.
    void Run();

private:
    struct Client {
        int fd;
        std::string input;
    };

    void ReceiveAll(int fd, uint16_t port);
    void SendDue();
    void OnClientReadable(Client& client, bool* closeIt);
    bool AddAddress(uint32_t address);

    CSimulator& m_simulator;
    CControlInterpreter m_interpreter;
    std::vector<HostAddress> m_hostAddresses;
    int m_config = -1;
    int m_usb = -1;
    int m_unixListener = -1;
    int m_tcpListener = -1;
    std::string m_unixPath;
    std::vector<Client> m_clients;
    bool m_quit = false;
};

int64_t MonotonicMs();
