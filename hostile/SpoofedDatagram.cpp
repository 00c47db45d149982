// BuildSpoofedDatagram (see SpoofedDatagram.h).
#include "SpoofedDatagram.h"

#include <algorithm>

namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
    out[at] = static_cast<uint8_t>(value >> 8);
    out[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    Put16(out, at, static_cast<uint16_t>(value >> 16));
    Put16(out, at + 2, static_cast<uint16_t>(value & 0xFFFF));
}

}  // namespace

uint16_t OnesComplementSum(const uint8_t* data, size_t len, uint32_t start) {
    uint32_t sum = start;
    for (size_t i = 0; i + 1 < len; i += 2) {
        sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
    }
    if (len % 2) {
        sum += static_cast<uint32_t>(data[len - 1] << 8);
    }
    while (sum >> 16) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<uint16_t>(sum);
}

std::vector<uint8_t> BuildSpoofedDatagram(uint32_t source, uint16_t sourcePort, uint32_t destination,
                                          uint16_t destinationPort, const std::vector<uint8_t>& payload) {
    if (payload.size() > MAX_SPOOFED_PAYLOAD) {
        return {};
    }
    const size_t udpLength = UDP_HEADER_SIZE + payload.size();
    std::vector<uint8_t> packet(IPV4_HEADER_SIZE + udpLength, 0);
    packet[0] = 0x45;  // version 4, five 32-bit words of header
    Put16(packet, 2, static_cast<uint16_t>(packet.size()));
    packet[8] = 64;  // time to live
    packet[9] = 17;  // UDP
    Put32(packet, 12, source);
    Put32(packet, 16, destination);
    Put16(packet, IPV4_HEADER_SIZE, sourcePort);
    Put16(packet, IPV4_HEADER_SIZE + 2, destinationPort);
    Put16(packet, IPV4_HEADER_SIZE + 4, static_cast<uint16_t>(udpLength));
    std::copy(payload.begin(), payload.end(), packet.begin() + IPV4_HEADER_SIZE + UDP_HEADER_SIZE);
    const uint32_t pseudo = (source >> 16) + (source & 0xFFFF) + (destination >> 16) + (destination & 0xFFFF) + 17u +
                            static_cast<uint32_t>(udpLength);
    const uint16_t sum = static_cast<uint16_t>(~OnesComplementSum(packet.data() + IPV4_HEADER_SIZE, udpLength, pseudo));
    Put16(packet, IPV4_HEADER_SIZE + 6, sum == 0 ? 0xFFFF : sum);  // 0 would mean "no checksum"
    return packet;
}
