// The four receivers of the wizard's replies.
#include "ReplyReceivers.h"

#include "ReceiverRules.h"
#include "ReplyDecoder.h"

bool ReceiveSearchReply(const uint8_t* pData, size_t nLength, uint16_t wSequence, uint32_t dwSender, DeviceInfo& info) {
    PacketHeader header;
    if (!DecodeInfoReply(pData, nLength, header, info) || !IsAcceptedSearchReply(header, info, wSequence)) return false;
    ApplyReceiverRules(info, dwSender, InfoReceiver::Search);
    return true;
}

bool ReceiveDeviceReadReply(const uint8_t* pData, size_t nLength, uint16_t wSequence, const uint8_t (&abMac)[6],
                            uint32_t dwSender, DeviceInfo& info) {
    PacketHeader header;
    if (!DecodeInfoReply(pData, nLength, header, info) || !IsAcceptedDeviceReadReply(header, info, wSequence, abMac))
        return false;
    ApplyReceiverRules(info, dwSender, InfoReceiver::DeviceRead);
    return true;
}

bool ReceiveSetConfigReply(const uint8_t* pData, size_t nLength, uint16_t wSequence, uint16_t wRequestType,
                           int16_t& nStatus) {
    PacketHeader header;
    if (!DecodeHeader(pData, nLength, header) || !IsAcceptedSetConfigReply(header, wSequence, wRequestType))
        return false;
    nStatus = header.wStatus;
    return true;
}

bool ReceivePasswordReply(const uint8_t* pData, size_t nLength, uint32_t dwSender, uint32_t dwExpectedSender,
                          uint16_t wSequence, uint16_t wRequestType, int16_t& nStatus) {
    PacketHeader header;
    if (!DecodeHeader(pData, nLength, header) ||
        !IsAcceptedPasswordReply(header, dwSender, dwExpectedSender, wSequence, wRequestType))
        return false;
    nStatus = header.wStatus;
    return true;
}
