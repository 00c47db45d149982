// The command catalogue: which packet types may be sent and with how many payload bytes, and the rule of
// the transaction counter.
#pragma once

#include <cstdint>

// Payload length of a request of the given type, read from the composed packet (type 25 carries its
// record count at packet offset 14). -1 for a type that must not be sent, including a type-25 count whose
// records would not fit in one packet.
int PayloadLength(uint16_t wType, const uint8_t (&packet)[1031]);

// The number following wCurrent: +1, and a value above 10000 becomes 1000. Never 0.
uint16_t NextSequenceValue(uint16_t wCurrent);
