// Payload lengths by packet type and the transaction counter's rule.
#include "PacketCatalogue.h"

#include "PacketHeader.h"

int PayloadLength(uint16_t wType, const uint8_t (&packet)[MAX_PACKET]) {
    switch (wType) {
        case 0:
        case 2:
        case PKT_GET_INFO:
        case 22:
            return 0;
        case PKT_SET_CONFIG:
            return 234;
        case 18:
        case PKT_CHECK_PASSWORD:
            return 21;
        case 23:
            return 1023;
        case 24:
            return 2;
        case 25: {
            // A count the buffer cannot hold would have the send read past the caller's packet.
            int nRecords = packet[14] | (packet[15] << 8);
            int nLength = 8 + 160 * nRecords;
            return nLength <= MAX_PAYLOAD ? nLength : -1;
        }
        default:
            return -1;
    }
}

uint16_t NextSequenceValue(uint16_t wCurrent) {
    int nNext = wCurrent + 1;  // in int, so that no wrap-around can give 0
    if (nNext > 10000) nNext = 1000;
    return static_cast<uint16_t>(nNext);
}
