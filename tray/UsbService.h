// The tray utility's network layer for the appliances' USB-disk service: socket start-up, the listener
// for notices on port 917, discovery, the eject query, the ICMP reachability test and the PC's addresses.
// Everything blocks the calling (UI) thread while it waits.
#pragma once

#include "StringList.h"
#include "UsbPacket.h"
#include "UsbSocket.h"

#include <winsock2.h>

#include <string>
#include <vector>

constexpr int MAX_LOCAL_ADDRESSES = 10;

// Dotted address of the sender of the last datagram ReceivePacket read.
extern char g_senderAddress[16];

// WSAStartup for version 1.1; the result is not looked at.
void InitSockets();

// Receive buffer the listener asks for. Every appliance answers a discovery, and a burst of notices arrives
// back to back; the platform's default (64 KB on Windows, 208 KB under Wine on Linux) drops most of a burst
// of a thousand. Best effort: where the platform refuses the size, the default stays.
constexpr int LISTENER_RECEIVE_BUFFER = 4 * 1024 * 1024;

// UDP socket on any local address, port 917, with FD_READ notification as message to window, asking for
// nReceiveBuffer bytes of receive buffer (0: the platform's default); INVALID_SOCKET when any step failed.
SOCKET OpenListener(HWND window, UINT message, int nReceiveBuffer = LISTENER_RECEIVE_BUFFER);

// One datagram from the listener into packet (first 264 bytes, zero-padded) and its sender into
// g_senderAddress. False, changing neither, when nothing was read.
bool ReceivePacket(SOCKET listener, UsbPacket& packet);

// Discovery on every local address; appends one name and one address per reply, and with locals the dotted
// local address each reply came through.
bool DiscoverDisks(std::vector<std::string>& names, std::vector<std::string>& addresses,
                   std::vector<std::string>* locals = nullptr);
bool DiscoverDisks(std::vector<std::string>& names, std::vector<std::string>& addresses, IUsbSocket& socket,
                   std::vector<std::string>* locals = nullptr);
// The same into the class library's string lists, as the tray's queues and dialogs keep them.
bool DiscoverDisks(CStringList& names, CStringList& addresses, CStringList* locals = nullptr);

// ServerOfPath for the class library's strings.
void ServerOfPath(CString path, CString& server);

// Broadcast eject request for serverName through the interface of the dotted localAddress, 3 tries of 20 s;
// the first datagram from the dotted applianceAddress is the reply.
bool QueryEject(const std::string& serverName, const std::string& localAddress, const std::string& applianceAddress,
                UsbPacket& reply);

// True when at least one of 4 ICMP echoes to the dotted address is answered; shows the wait cursor meanwhile.
bool IsHostReachable(const char* address);
// The same echoes without the cursor, for a thread other than the UI thread.
bool PingHost(const char* address);

// The PC's IPv4 addresses (network byte order) as the resolver lists them for the host name; at most 10.
void GetLocalAddresses(uint32_t addresses[MAX_LOCAL_ADDRESSES], int& count);
