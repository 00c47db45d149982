// What the receivers of replies do before they use them: the acceptance tests of each transaction and the
// fix-ups of an accepted info reply. Addresses are u32 in network order (the four octets in memory order).
#pragma once

#include <cstdint>

#include "DeviceInfo.h"
#include "PacketHeader.h"

enum class InfoReceiver {
    Search,      // the operation dialog's search
    DeviceRead,  // the device list page reading the chosen appliance
};

// Terminates every text field of the info (and szAuxName for DeviceRead), then puts the sender's address
// into settings.abIpAddress; DeviceRead first keeps the reported value in settings.abReportedAddress.
void ApplyReceiverRules(DeviceInfo& info, uint32_t dwSender, InfoReceiver receiver);

// A finished transaction carries 0, and 0 matches nothing: a datagram numbered 0 can never be taken for
// the answer to a transaction that is over.
inline bool SequenceMatches(uint16_t wReceived, uint16_t wExpected) {
    return wExpected != 0 && wReceived == wExpected;
}

bool IsAcceptedSearchReply(const PacketHeader& header, const DeviceInfo& info, uint16_t wSequence);
bool IsAcceptedDeviceReadReply(const PacketHeader& header, const DeviceInfo& info, uint16_t wSequence,
                               const uint8_t (&abMac)[6]);
// The source of a set-config reply is not checked.
bool IsAcceptedSetConfigReply(const PacketHeader& header, uint16_t wSequence, uint16_t wRequestType);
bool IsAcceptedPasswordReply(const PacketHeader& header, uint32_t dwSender, uint32_t dwExpectedSender,
                             uint16_t wSequence, uint16_t wRequestType);
