// The discovery and the eject query of the USB-disk service as schedules over an IUsbSocket, and the
// constants of the ICMP reachability test. Portable; the WinSock shell (UsbService.h) runs them.
#pragma once

#include "UsbPacket.h"
#include "UsbSocket.h"

#include <array>
#include <string>
#include <vector>

constexpr uint32_t DISCOVERY_QUIET_MS = 2000;  // a local address's collection ends after 2 s without a reply
// A local address's collection also ends after this many replies: a host that keeps sending would otherwise
// hold the discovery (and grow its lists) for as long as it likes.
constexpr size_t MAX_DISCOVERY_REPLIES = 256;
constexpr uint32_t EJECT_WAIT_MS = 20000;  // one eject try waits 20 s for its reply
constexpr int EJECT_TRIES = 3;

constexpr int ECHO_COUNT = 4;
constexpr uint32_t ECHO_TIMEOUT_MS = 1000;
constexpr size_t ECHO_DATA_SIZE = 32;
// IcmpSendEcho wants room for one reply record, the echoed data, and 8 bytes for an ICMP error.
constexpr size_t ECHO_ERROR_ROOM = 8;
constexpr size_t EchoReplyBufferSize(size_t replyRecordSize) {
    return replyRecordSize + ECHO_DATA_SIZE + ECHO_ERROR_ROOM;
}

// The 32 bytes 0x41 to 0x60.
std::array<uint8_t, ECHO_DATA_SIZE> EchoPayload();

// For each local address in order: open a socket bound to it, broadcast the discovery request, and collect
// every datagram until 2 s pass without one (or MAX_DISCOVERY_REPLIES came), appending its name and its sender's dotted
// address, and, with replyLocals, the local address it came through. False when a socket operation failed; what
// was collected so far stays in the lists.
bool RunDiscovery(IUsbSocket& socket, const std::vector<uint32_t>& localAddresses, std::vector<std::string>& names,
                  std::vector<std::string>& addresses, std::vector<uint32_t>* replyLocals = nullptr);

// Broadcasts the eject request for serverName through the interface of localAddress (0: any) up to three times,
// each followed by 20 s of waiting. Only a datagram from applianceAddress, where the appliance answered the
// discovery, is the reply: any other host could otherwise have a disk pulled that was never ejected. Other
// datagrams are read and ignored within the same 20 s. False when no reply came or a socket operation failed.
bool RunEjectQuery(IUsbSocket& socket, const std::string& serverName, uint32_t localAddress, uint32_t applianceAddress,
                   UsbPacket& reply);
