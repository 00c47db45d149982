// The 8-byte header of every port-915 configuration packet, the packet types and the protocol's limits.
// Wire layout, little-endian fields; the build targets are little-endian, which the assert below pins down.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "wire records are laid out for a little-endian host");

constexpr uint16_t CONFIG_PORT = 915;
constexpr int MAX_PACKET = 1031;
constexpr int PACKET_HEADER_SIZE = 8;
constexpr int MAX_PAYLOAD = MAX_PACKET - PACKET_HEADER_SIZE;

constexpr uint16_t PKT_GET_INFO = 16;
constexpr uint16_t PKT_SET_CONFIG = 17;
constexpr uint16_t PKT_CHECK_PASSWORD = 19;

#pragma pack(push, 1)
struct PacketHeader {
    uint16_t wType;   // packed: read multi-byte fields by value, never bind references to them
    int16_t wStatus;  // 0 success, negative result code of the appliance
    uint16_t wSequence;
    uint16_t wLength;  // payload length; not examined in replies
};
#pragma pack(pop)

static_assert(sizeof(PacketHeader) == PACKET_HEADER_SIZE);
static_assert(offsetof(PacketHeader, wType) == 0);
static_assert(offsetof(PacketHeader, wStatus) == 2);
static_assert(offsetof(PacketHeader, wSequence) == 4);
static_assert(offsetof(PacketHeader, wLength) == 6);
