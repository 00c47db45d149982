// Decoding of received configuration datagrams into the wire records. Everything goes through
// CByteReader; nothing past the received length is read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DeviceInfo.h"
#include "PacketHeader.h"

// False when the datagram is shorter than a header.
bool DecodeHeader(const uint8_t* pData, size_t nLength, PacketHeader& header);

// Header and DeviceInfo payload of an info reply. False, with the info all zero, when the datagram ends
// before the 254-byte payload does: a part of a record is no appliance.
bool DecodeInfoReply(const uint8_t* pData, size_t nLength, PacketHeader& header, DeviceInfo& info);
