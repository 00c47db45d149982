// The bytes of an IPv4 UDP datagram with a chosen source, as zflood hands them to a raw socket: the IPv4
// header (its checksum and id left for the kernel to fill in), the UDP header with its checksum over the
// pseudo header, and the payload. Portable, so that the checksum is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t IPV4_HEADER_SIZE = 20;
constexpr size_t UDP_HEADER_SIZE = 8;
// The largest payload that fits into one Ethernet frame: raw sockets do not fragment.
constexpr size_t MAX_SPOOFED_PAYLOAD = 1500 - IPV4_HEADER_SIZE - UDP_HEADER_SIZE;

// Addresses in host order. Empty when the payload does not fit into one frame.
std::vector<uint8_t> BuildSpoofedDatagram(uint32_t source, uint16_t sourcePort, uint32_t destination,
                                          uint16_t destinationPort, const std::vector<uint8_t>& payload);

// The ones' complement sum of 16-bit big-endian words, folded, as the Internet checksum adds them.
uint16_t OnesComplementSum(const uint8_t* data, size_t len, uint32_t start = 0);
