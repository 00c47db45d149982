// The appliance's side of the port-917 USB-disk service: the 264-byte record, the two requests it answers
// (discovery and eject), its replies and notices, and a decoder for the log.
#pragma once

#include "ConfigPacket.h"

#include <cstdint>
#include <string>

constexpr uint16_t USB_SERVICE_PORT = 917;
constexpr size_t USB_PACKET_SIZE = 264;
constexpr size_t USB_NAME_SIZE = 256;

constexpr uint16_t PKT_DISK_INFO = 32;
constexpr uint16_t PKT_EJECTED = 33;
constexpr uint16_t PKT_REMOVED = 34;
constexpr uint16_t PKT_EJECT = 35;
constexpr uint16_t PKT_WRONG_PORT = 36;

constexpr uint16_t STATUS_IN_USE = 0xFFFF;

struct UsbRequest {
    uint16_t wType = 0;
    uint16_t wLength = 0;
    std::string serverName;  // PKT_EJECT
};

// A discovery request is the bare 8-byte header of type 32 with wLength 0; an eject request is type 35 with
// wLength 256 and 256 name bytes. Discovery replies and notices of other appliances (264 bytes, wLength
// 256) are not requests, so two simulators on one segment never answer each other.
bool ParseUsbRequest(const uint8_t* data, size_t size, UsbRequest* request, std::string* reason);

// 264 bytes: type, status, wReserved 0, wLength 256, the name zero-padded (at most 255 characters).
Bytes BuildUsbPacket(uint16_t type, uint16_t status, const std::string& name);

std::string DescribeUsbPacket(const uint8_t* data, size_t size);
const char* UsbTypeName(uint16_t type);
// The server part of a UNC path: the text after the first two backslashes up to the next backslash.
std::string ServerPart(const std::string& path);
