// What each receiver of the wizard takes from one received datagram: the decoding, the acceptance test of
// its transaction and, for info replies, the receiver rules, in one call. The dialogs and the device list
// page call these and nothing else on received bytes; the fuzz target calls the same four.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DeviceInfo.h"

// The operation dialog's search: true when the datagram is an accepted reply; info then holds it with the
// receiver rules applied (the sender's address in settings.abIpAddress).
bool ReceiveSearchReply(const uint8_t* pData, size_t nLength, uint16_t wSequence, uint32_t dwSender, DeviceInfo& info);

// The device list page's read of the chosen appliance (abMac): as the search, with the read's rules.
bool ReceiveDeviceReadReply(const uint8_t* pData, size_t nLength, uint16_t wSequence, const uint8_t (&abMac)[6],
                            uint32_t dwSender, DeviceInfo& info);

// The settings write: true when accepted; nStatus is then the appliance's result code.
bool ReceiveSetConfigReply(const uint8_t* pData, size_t nLength, uint16_t wSequence, uint16_t wRequestType,
                           int16_t& nStatus);

// The password check: true when accepted (from the expected sender); nStatus as above.
bool ReceivePasswordReply(const uint8_t* pData, size_t nLength, uint32_t dwSender, uint32_t dwExpectedSender,
                          uint16_t wSequence, uint16_t wRequestType, int16_t& nStatus);
