// The one record of the appliances' USB-disk service on UDP port 917, its byte images and the reading of
// received datagrams. Portable: no Windows headers, so that every reader of received bytes is tested natively.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint16_t USB_SERVICE_PORT = 917;

constexpr uint16_t PKT_DISK_INFO = 32;   // discovery request and reply; notice: a disk is available
constexpr uint16_t PKT_EJECTED = 33;     // eject reply on success; notice: the disk is gone
constexpr uint16_t PKT_REMOVED = 34;     // notice: the disk is gone
constexpr uint16_t PKT_EJECT = 35;       // eject request
constexpr uint16_t PKT_WRONG_PORT = 36;  // notice: a flash disk sits in the wrong USB port

constexpr uint16_t STATUS_IN_USE = 0xFFFF;  // eject reply: the disk is in use and stays

constexpr size_t USB_HEADER_SIZE = 8;
constexpr size_t USB_NAME_SIZE = 256;
constexpr size_t USB_PACKET_SIZE = USB_HEADER_SIZE + USB_NAME_SIZE;
// A received datagram is read into a buffer of this size; only its first USB_PACKET_SIZE bytes count.
constexpr size_t USB_RECEIVE_SIZE = 512;

// The record as it travels, little-endian. A record produced by ParseUsbPacket always holds a
// NUL-terminated szName (see there), so that szName can be used as a C string without reading past it.
struct UsbPacket {
    uint16_t wType;
    uint16_t wStatus;
    uint16_t wReserved;
    uint16_t wLength;
    char szName[USB_NAME_SIZE];
};
static_assert(sizeof(UsbPacket) == USB_PACKET_SIZE, "UsbPacket is the 264-byte wire record");

using UsbDiscoveryImage = std::array<uint8_t, USB_HEADER_SIZE>;
using UsbPacketImage = std::array<uint8_t, USB_PACKET_SIZE>;

// 20 00 00 00 00 00 00 00: the discovery request is the bare header.
UsbDiscoveryImage BuildDiscoveryRequest();

// The 264-byte eject request for a server name. A name longer than 255 characters is cut to 255 so that
// its NUL still fits into szName.
UsbPacketImage BuildEjectRequest(const std::string& serverName);

// The 264 bytes of a record, fields little-endian.
UsbPacketImage SerializeUsbPacket(const UsbPacket& packet);

// Reads a received datagram of len bytes. Only the first 264 bytes count; a shorter datagram counts as
// zero-padded, so nothing of an earlier datagram can show through. A szName without a NUL within its
// 256 bytes is cut to its first 255 characters.
UsbPacket ParseUsbPacket(const uint8_t* data, size_t len);

// The text of szName, never read past the field.
std::string UsbPacketName(const UsbPacket& packet);

// The server part of a disk path: what follows the first two backslashes, up to the next backslash.
// "\\NAS1\usb" and "NAS1\usb" give "NAS1"; a text without backslashes is returned unchanged.
void ServerOfPath(std::string path, std::string& server);

// An IPv4 address held as in_addr's s_addr (network byte order in memory), as dotted decimal.
std::string FormatIPv4(uint32_t networkOrderAddress);
