// The part of a UDP socket's set-up that BSD sockets and WinSock spell alike, for the two platform layers.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstdint>

// An IPv4 endpoint; address in network order, port in host order.
inline sockaddr_in Endpoint(uint32_t address, uint16_t nPort) {
    sockaddr_in endpoint{};
    endpoint.sin_family = AF_INET;
    endpoint.sin_addr.s_addr = address;
    endpoint.sin_port = htons(nPort);
    return endpoint;
}

// SO_BROADCAST, SO_REUSEADDR where a fixed port is asked for (a second listener on the port must not fail),
// then the bind. False with the platform's error left for the caller to read.
template <class Socket>
bool BroadcastAndBind(Socket s, uint32_t localAddress, uint16_t nLocalPort) {
    int on = 1;  // WinSock's BOOL is an int too; it wants the pointer as const char*, which POSIX accepts
    const char* pOn = reinterpret_cast<const char*>(&on);
    if (setsockopt(s, SOL_SOCKET, SO_BROADCAST, pOn, sizeof on) != 0) return false;
    if (nLocalPort != 0 && setsockopt(s, SOL_SOCKET, SO_REUSEADDR, pOn, sizeof on) != 0) return false;
    sockaddr_in local = Endpoint(localAddress, nLocalPort);
    return bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
}
