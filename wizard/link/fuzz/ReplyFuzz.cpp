// libFuzzer target: one received datagram through each receiver of the wizard, with what the program does
// next with an accepted reply (result message, time-zone name, the device list).
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../DeviceList.h"
#include "../PacketCatalogue.h"
#include "../PacketHeader.h"
#include "../ReplyReceivers.h"
#include "../ResultCodes.h"
#include "../TimeZones.h"

static CDeviceList g_list;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    // The sequence and MAC the receivers expect are taken from the bytes, so that acceptance is reachable.
    const uint16_t wSequence = nSize >= 6 ? static_cast<uint16_t>(pData[4] | (pData[5] << 8)) : 1;
    uint8_t abMac[6] = {};
    const size_t nMacAt = PACKET_HEADER_SIZE + DEVICE_INFO_SETTINGS_OFFSET;
    if (nSize >= nMacAt + sizeof abMac) memcpy(abMac, pData + nMacAt, sizeof abMac);
    const uint32_t dwSender = 0x0A0112C6;

    int16_t nStatus = 0;
    if (ReceiveSetConfigReply(pData, nSize, wSequence, PKT_SET_CONFIG, nStatus)) (void)ResultMessageId(nStatus);
    if (ReceivePasswordReply(pData, nSize, dwSender, dwSender, wSequence, PKT_CHECK_PASSWORD, nStatus))
        (void)ResultMessageId(nStatus);

    DeviceInfo info;
    // Only a whole record is an appliance: a short reply listed one with an empty MAC.
    if (ReceiveDeviceReadReply(pData, nSize, wSequence, abMac, dwSender, info)) {
        if (nSize < PACKET_HEADER_SIZE + sizeof info) __builtin_trap();
        if (strlen(info.settings.szAuxName) >= sizeof info.settings.szAuxName) __builtin_trap();
        if (memcmp(info.settings.abIpAddress, &dwSender, 4) != 0) __builtin_trap();
        (void)TimeZoneDisplayName(info.settings.nTimeZone);
    }
    if (ReceiveSearchReply(pData, nSize, wSequence, dwSender, info)) {
        if (nSize < PACKET_HEADER_SIZE + sizeof info) __builtin_trap();
        if (g_list.GetCount() > 64) g_list.RemoveAll();
        bool bCreated;
        DeviceEntry* pEntry = g_list.Add(info, 0, &bCreated);
        if (pEntry && strnlen(pEntry->szServerName, sizeof pEntry->szServerName) >= sizeof pEntry->szServerName)
            __builtin_trap();
    }

    // The same bytes as a composed request: the length table reads the type-25 count from the packet.
    uint8_t packet[MAX_PACKET] = {};
    memcpy(packet, pData, nSize < sizeof packet ? nSize : sizeof packet);
    int nLength = PayloadLength(static_cast<uint16_t>(packet[0] | (packet[1] << 8)), packet);
    if (nLength > MAX_PAYLOAD) __builtin_trap();
    return 0;
}
