// Discovery and eject schedules of the USB-disk service. Every socket is closed before a schedule returns.
#include "UsbOperations.h"

std::array<uint8_t, ECHO_DATA_SIZE> EchoPayload() {
    std::array<uint8_t, ECHO_DATA_SIZE> payload{};
    for (size_t i = 0; i < payload.size(); i++) payload[i] = static_cast<uint8_t>(0x41 + i);
    return payload;
}

namespace {

// Opens the socket on a local address and broadcasts the request; the socket is closed again when either fails.
bool OpenAndBroadcast(IUsbSocket& socket, uint32_t local, const uint8_t* pRequest, size_t nLength) {
    if (!socket.Open(local)) return false;
    if (socket.SendBroadcast(pRequest, nLength)) return true;
    socket.Close();
    return false;
}

enum class Received { DATAGRAM, QUIET, FAILED };

// Waits up to nWaitMs for one datagram and reads it into buffer; the socket is closed when the wait or the read
// fails.
Received ReceiveOne(IUsbSocket& socket, uint32_t nWaitMs, uint8_t (&buffer)[USB_RECEIVE_SIZE], size_t& received,
                    uint32_t& sender) {
    IUsbSocket::WaitResult wait = socket.WaitReadable(nWaitMs);
    if (wait == IUsbSocket::TIMED_OUT) return Received::QUIET;
    if (wait == IUsbSocket::SELECT_FAILED || !socket.Receive(buffer, sizeof buffer, received, sender)) {
        socket.Close();
        return Received::FAILED;
    }
    return Received::DATAGRAM;
}

}  // namespace

bool RunDiscovery(IUsbSocket& socket, const std::vector<uint32_t>& localAddresses, std::vector<std::string>& names,
                  std::vector<std::string>& addresses, std::vector<uint32_t>* replyLocals) {
    const UsbDiscoveryImage request = BuildDiscoveryRequest();
    for (uint32_t local : localAddresses) {
        if (!OpenAndBroadcast(socket, local, request.data(), request.size())) return false;
        for (size_t replies = 0; replies < MAX_DISCOVERY_REPLIES; replies++) {
            // A fresh buffer per datagram: a short reply never shows an earlier one's text.
            uint8_t buffer[USB_RECEIVE_SIZE];
            size_t received = 0;
            uint32_t sender = 0;
            Received got = ReceiveOne(socket, DISCOVERY_QUIET_MS, buffer, received, sender);
            if (got == Received::FAILED) return false;
            if (got == Received::QUIET) break;
            names.push_back(UsbPacketName(ParseUsbPacket(buffer, received)));
            addresses.push_back(FormatIPv4(sender));
            if (replyLocals) replyLocals->push_back(local);
        }
        socket.Close();
    }
    return true;
}

bool RunEjectQuery(IUsbSocket& socket, const std::string& serverName, uint32_t localAddress, uint32_t applianceAddress,
                   UsbPacket& reply) {
    const UsbPacketImage request = BuildEjectRequest(serverName);
    for (int attempt = 0; attempt < EJECT_TRIES; attempt++) {
        if (!OpenAndBroadcast(socket, localAddress, request.data(), request.size())) return false;
        uint64_t now = socket.NowMs();
        const uint64_t deadline = now + EJECT_WAIT_MS;
        while (now < deadline) {
            uint8_t buffer[USB_RECEIVE_SIZE];
            size_t received = 0;
            uint32_t sender = 0;
            Received got = ReceiveOne(socket, static_cast<uint32_t>(deadline - now), buffer, received, sender);
            if (got == Received::FAILED) return false;
            if (got == Received::QUIET) break;
            if (sender != applianceAddress) {
                now = socket.NowMs();
                continue;
            }
            socket.Close();
            reply = ParseUsbPacket(buffer, received);
            return true;
        }
        socket.Close();
    }
    return false;
}
