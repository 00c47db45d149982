// Acceptance tests and fix-ups of received replies.
#include "ReceiverRules.h"

#include <cstring>

template <size_t N>
static void Terminate(char (&sz)[N]) {
    sz[N - 1] = 0;
}

void ApplyReceiverRules(DeviceInfo& info, uint32_t dwSender, InfoReceiver receiver) {
    DeviceSettings& s = info.settings;
    Terminate(info.szInfoText);
    Terminate(s.szServerName);
    Terminate(s.szNote);
    Terminate(s.szDate);
    Terminate(s.szTime);
    Terminate(s.szWorkgroup);
    if (receiver == InfoReceiver::DeviceRead) {
        Terminate(s.szAuxName);
        memcpy(s.abReportedAddress, s.abIpAddress, sizeof s.abReportedAddress);
    }
    memcpy(s.abIpAddress, &dwSender, sizeof s.abIpAddress);
}

bool IsAcceptedSearchReply(const PacketHeader& header, const DeviceInfo& info, uint16_t wSequence) {
    return header.wType == PKT_GET_INFO && SequenceMatches(header.wSequence, wSequence) && header.wStatus == 0 &&
           info.wState != 1;
}

bool IsAcceptedDeviceReadReply(const PacketHeader& header, const DeviceInfo& info, uint16_t wSequence,
                               const uint8_t (&abMac)[6]) {
    return SequenceMatches(header.wSequence, wSequence) && header.wType == PKT_GET_INFO &&
           memcmp(info.settings.abMac, abMac, sizeof abMac) == 0 && header.wStatus == 0;
}

bool IsAcceptedSetConfigReply(const PacketHeader& header, uint16_t wSequence, uint16_t wRequestType) {
    return SequenceMatches(header.wSequence, wSequence) && header.wType == wRequestType;
}

bool IsAcceptedPasswordReply(const PacketHeader& header, uint32_t dwSender, uint32_t dwExpectedSender,
                             uint16_t wSequence, uint16_t wRequestType) {
    return dwSender == dwExpectedSender && SequenceMatches(header.wSequence, wSequence) && header.wType == wRequestType;
}
