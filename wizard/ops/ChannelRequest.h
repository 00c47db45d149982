// CChannelRequest: the request a dialog has out on a channel of its own: the channel, the datagram as last
// sent (and the replies read into it), the resends left, and what a reply must match (the request's packet
// type and transaction number, 0 once answered so that later copies are dropped). The operation and
// password dialogs hold it beside their window.
#pragma once

#include <cstdint>

#include "../link/PacketHeader.h"

struct CChannelRequest {
    int m_hChannel = 0;
    uint8_t m_packet[MAX_PACKET] = {};
    int m_nRetries = 0;
    int m_nRequestType = 0;
    uint16_t m_wSequence = 0;
};
