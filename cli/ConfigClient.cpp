// The configuration transactions over one socket each, on a monotonic clock.
#include "ConfigClient.h"

#include <algorithm>
#include <cstring>

#include "AddressText.h"
#include "OperationRules.h"
#include "PacketCatalogue.h"
#include "ReceiverRules.h"
#include "ReplyDecoder.h"

namespace {

// Fills the header the way the wizard's channel table does; the number of bytes to send, 0 for a type
// the catalogue refuses.
size_t FillHeader(uint8_t (&packet)[MAX_PACKET], uint16_t wType, uint16_t wSequence) {
    int nPayload = PayloadLength(wType, packet);
    if (nPayload < 0) return 0;
    PacketHeader header{wType, 0, wSequence, static_cast<uint16_t>(nPayload)};
    memcpy(packet, &header, sizeof header);
    return PACKET_HEADER_SIZE + static_cast<size_t>(nPayload);
}

struct Datagram {
    uint8_t data[MAX_PACKET];
    size_t nLength = 0;
    uint32_t sender = 0;
};

// Waits at most nWaitMs for one datagram and reads it.
IDatagramSocket::WaitResult ReceiveWithin(IDatagramSocket& socket, uint64_t nWaitMs, Datagram& datagram) {
    IDatagramSocket::WaitResult wait = socket.WaitReadable(static_cast<uint32_t>(nWaitMs));
    if (wait == IDatagramSocket::READABLE &&
        !socket.Receive(datagram.data, sizeof datagram.data, datagram.nLength, datagram.sender))
        return IDatagramSocket::FAILED;
    return wait;
}

}  // namespace

uint16_t CConfigClient::NextSequence() {
    m_wSequence = NextSequenceValue(m_wSequence);
    return m_wSequence;
}

const LocalInterface* CConfigClient::FoundThrough(const DeviceEntry& entry) const {
    if (entry.nInterfaceIndex < 0 || static_cast<size_t>(entry.nInterfaceIndex) >= m_interfaces.size()) return nullptr;
    return &m_interfaces[static_cast<size_t>(entry.nInterfaceIndex)];
}

CConfigClient::Result CConfigClient::NetworkError(const IDatagramSocket& socket) const {
    return {Outcome::NetworkError, 0, socket.LastError()};
}

CConfigClient::Result CConfigClient::Search(CDeviceList& list, uint32_t nLimitMs,
                                            const std::function<bool(const CDeviceList&)>& bEnough) {
    const int nAddresses = static_cast<int>(m_interfaces.size());
    auto socket = CPlatform::NewSocket();
    int nBound = -1;  // index of the local address the socket is bound to
    auto open = [&]() {
        int nNext = nBound + 1;
        if (nNext < nAddresses) {
            nBound = nNext;
            return socket->Open(m_interfaces[static_cast<size_t>(nBound)].address, 0);
        }
        return socket->Open(0, 0);
    };
    uint8_t packet[MAX_PACKET] = {};
    const uint16_t wSequence = NextSequence();
    const size_t nLength = FillHeader(packet, PKT_GET_INFO, wSequence);
    if (!open() || !socket->SendTo(BROADCAST_ADDRESS, CONFIG_PORT, packet, nLength)) return NetworkError(*socket);

    const uint64_t nStart = CPlatform::NowMs();
    const uint64_t nEnd = nLimitMs ? nStart + nLimitMs : UINT64_MAX;
    uint64_t nTick = nStart + SEARCH_SCHEDULE.nPeriodMs;
    int nRetries = SEARCH_SCHEDULE.nRetries;
    for (;;) {
        uint64_t nNow = CPlatform::NowMs();
        if (nNow >= nEnd) return {};
        if (nNow >= nTick) {
            switch (NextSearchStep(nRetries, nAddresses, nBound + 1)) {
                case SearchStep::Resend:
                    --nRetries;
                    if (!socket->SendTo(BROADCAST_ADDRESS, CONFIG_PORT, packet, nLength)) return NetworkError(*socket);
                    break;
                case SearchStep::NextInterface:
                    nRetries = SEARCH_SCHEDULE.nRetries;
                    if (!open()) return NetworkError(*socket);
                    break;
                case SearchStep::Finish:
                    return {};
            }
            nTick += SEARCH_SCHEDULE.nPeriodMs;
            continue;
        }
        Datagram reply;
        IDatagramSocket::WaitResult wait = ReceiveWithin(*socket, std::min(nTick, nEnd) - nNow, reply);
        if (wait == IDatagramSocket::FAILED) return NetworkError(*socket);
        if (wait == IDatagramSocket::TIMED_OUT) continue;
        PacketHeader header;
        DeviceInfo info;
        if (!DecodeInfoReply(reply.data, reply.nLength, header, info) ||
            !IsAcceptedSearchReply(header, info, wSequence))
            continue;
        ApplyReceiverRules(info, reply.sender, InfoReceiver::Search);
        bool bCreated = false;
        list.Add(info, nBound, &bCreated);
        if (bEnough && bEnough(list)) return {};
    }
}

CConfigClient::Result CConfigClient::Transact(const DeviceEntry& entry, uint16_t wType, uint8_t (&packet)[MAX_PACKET],
                                              const RetrySchedule& schedule, const Acceptor& accept) {
    const LocalInterface* pFound = FoundThrough(entry);
    bool bOnSubnet = false;
    if (pFound)
        bOnSubnet =
            IsOnSubnet(FormatAddress(pFound->address).c_str(), FormatAddress(pFound->mask).c_str(), entry.dwAddress);
    const uint32_t destination = DeviceDestination(entry.dwAddress, bOnSubnet);

    // Bound to the interface it was found through, so that a broadcast leaves where the appliance is.
    auto socket = CPlatform::NewSocket();
    if (!socket->Open(pFound ? pFound->address : 0, 0)) return NetworkError(*socket);
    const size_t nLength = FillHeader(packet, wType, NextSequence());
    for (int nSends = 0; nSends <= schedule.nRetries; ++nSends) {
        if (!socket->SendTo(destination, CONFIG_PORT, packet, nLength)) return NetworkError(*socket);
        const uint64_t nDue = CPlatform::NowMs() + schedule.nPeriodMs;
        for (uint64_t nNow = CPlatform::NowMs(); nNow < nDue; nNow = CPlatform::NowMs()) {
            Datagram reply;
            IDatagramSocket::WaitResult wait = ReceiveWithin(*socket, nDue - nNow, reply);
            if (wait == IDatagramSocket::FAILED) return NetworkError(*socket);
            if (wait == IDatagramSocket::TIMED_OUT) break;
            PacketHeader header;
            if (!DecodeHeader(reply.data, reply.nLength, header) || !accept(reply.data, reply.nLength, reply.sender))
                continue;
            if (header.wStatus != 0) return {Outcome::Refused, header.wStatus, {}};
            return {};
        }
    }
    return {Outcome::NoAnswer, 0, {}};
}

CConfigClient::Result CConfigClient::Read(const DeviceEntry& entry, DeviceInfo& info) {
    uint8_t packet[MAX_PACKET] = {};
    return Transact(entry, PKT_GET_INFO, packet, DEVICE_READ_SCHEDULE,
                    [&](const uint8_t* pData, size_t nLength, uint32_t sender) {
                        PacketHeader header;
                        DeviceInfo received;
                        if (!DecodeInfoReply(pData, nLength, header, received) ||
                            !IsAcceptedDeviceReadReply(header, received, m_wSequence, entry.abMac))
                            return false;
                        ApplyReceiverRules(received, sender, InfoReceiver::DeviceRead);
                        info = received;
                        return true;
                    });
}

CConfigClient::Result CConfigClient::CheckPassword(const DeviceEntry& entry, const char* pszPassword) {
    uint8_t packet[MAX_PACKET];
    ComposeCheckPassword(packet, entry.abMac, pszPassword);
    Result result =
        Transact(entry, PKT_CHECK_PASSWORD, packet, PASSWORD_SCHEDULE,
                 [&](const uint8_t* pData, size_t nLength, uint32_t sender) {
                     PacketHeader header;
                     return DecodeHeader(pData, nLength, header) &&
                            IsAcceptedPasswordReply(header, sender, entry.dwAddress, m_wSequence, PKT_CHECK_PASSWORD);
                 });
    SecureZero(packet, sizeof packet);
    return result;
}

CConfigClient::Result CConfigClient::Write(const DeviceEntry& entry, const DeviceSettings& settings) {
    uint8_t packet[MAX_PACKET];
    ComposeSetConfig(packet, settings, entry.abMac);
    return Transact(entry, PKT_SET_CONFIG, packet, SET_CONFIG_SCHEDULE,
                    [&](const uint8_t* pData, size_t nLength, uint32_t) {
                        PacketHeader header;
                        return DecodeHeader(pData, nLength, header) &&
                               IsAcceptedSetConfigReply(header, m_wSequence, PKT_SET_CONFIG);
                    });
}
