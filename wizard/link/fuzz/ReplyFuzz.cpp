// libFuzzer target: one received datagram through every routine that reads received bytes, as each
// receiver of the wizard would use it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../DeviceList.h"
#include "../PacketCatalogue.h"
#include "../ReceiverRules.h"
#include "../ReplyDecoder.h"
#include "../ResultCodes.h"
#include "../TimeZones.h"

static CDeviceList g_list;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    PacketHeader header;
    if (DecodeHeader(pData, nSize, header)) {
        (void)ResultMessageId(header.wStatus);
        (void)IsAcceptedSetConfigReply(header, header.wSequence, PKT_SET_CONFIG);
        (void)IsAcceptedPasswordReply(header, 1, 1, header.wSequence, PKT_CHECK_PASSWORD);
    }

    DeviceInfo info;
    if (DecodeInfoReply(pData, nSize, header, info)) {
        // Only a whole record is an appliance: a short reply listed one with an empty MAC.
        if (nSize < PACKET_HEADER_SIZE + sizeof info) __builtin_trap();
        DeviceInfo read = info;
        ApplyReceiverRules(read, 0x0A0112C6, InfoReceiver::DeviceRead);
        if (strlen(read.settings.szAuxName) >= sizeof read.settings.szAuxName) __builtin_trap();
        (void)TimeZoneDisplayName(read.settings.nTimeZone);

        ApplyReceiverRules(info, 0x0A0112C6, InfoReceiver::Search);
        if (IsAcceptedSearchReply(header, info, header.wSequence)) {
            if (g_list.GetCount() > 64) g_list.RemoveAll();
            bool bCreated;
            DeviceEntry* pEntry = g_list.Add(info, 0, &bCreated);
            if (pEntry && strnlen(pEntry->szServerName, sizeof pEntry->szServerName) >= sizeof pEntry->szServerName)
                __builtin_trap();
        }
    }

    // The same bytes as a composed request: the length table reads the type-25 count from the packet.
    uint8_t packet[MAX_PACKET] = {};
    memcpy(packet, pData, nSize < sizeof packet ? nSize : sizeof packet);
    int nLength = PayloadLength(static_cast<uint16_t>(packet[0] | (packet[1] << 8)), packet);
    if (nLength > MAX_PAYLOAD) __builtin_trap();
    return 0;
}
