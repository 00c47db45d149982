// Device operation rules without windows.
#include "OperationRules.h"

#include <cstring>

bool ParseDottedQuad(const char* pszText, uint8_t (&abOctets)[4]) {
    if (!pszText) return false;
    const char* p = pszText;
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && *p++ != '.') return false;
        int nValue = 0;
        int nDigits = 0;
        while (*p >= '0' && *p <= '9') {
            nValue = nValue * 10 + (*p++ - '0');
            if (++nDigits > 3 || nValue > 255) return false;
        }
        if (nDigits == 0) return false;
        abOctets[i] = static_cast<uint8_t>(nValue);
    }
    return *p == 0;
}

bool IsOnSubnet(const char* pszAdapterAddress, const char* pszAdapterMask, uint32_t dwDevice) {
    uint8_t abAddress[4], abMask[4], abDevice[4];
    if (!ParseDottedQuad(pszAdapterAddress, abAddress) || !ParseDottedQuad(pszAdapterMask, abMask)) return false;
    memcpy(abDevice, &dwDevice, sizeof abDevice);
    for (int i = 0; i < 4; ++i)
        if ((abAddress[i] & abMask[i]) != (abDevice[i] & abMask[i])) return false;
    return true;
}

uint32_t SetConfigDestination(bool bOnSubnet, uint32_t dwDevice) {
    return (bOnSubnet && dwDevice != 0) ? dwDevice : BROADCAST_ADDRESS;
}

uint32_t RetryDestination(int nRetries, bool bOnSubnet, uint32_t dwDevice) {
    if (dwDevice == 0 || dwDevice == BROADCAST_ADDRESS) return BROADCAST_ADDRESS;
    if (bOnSubnet || nRetries % 2 == 1) return dwDevice;
    return BROADCAST_ADDRESS;
}

SearchStep NextSearchStep(int nRetries, int nLocalAddressCount, int nNextBindIndex) {
    if (nRetries > 0) return SearchStep::Resend;
    if (nLocalAddressCount > 0 && nNextBindIndex < nLocalAddressCount) return SearchStep::NextInterface;
    return SearchStep::Finish;
}

void ComposeSetConfig(uint8_t (&packet)[MAX_PACKET], const DeviceSettings& settings, const uint8_t (&abMac)[6]) {
    memset(packet, 0, sizeof packet);
    uint8_t* pPayload = packet + PACKET_HEADER_SIZE;
    memcpy(pPayload, &settings, sizeof settings);
    memcpy(pPayload, abMac, sizeof abMac);
}

void ComposeCheckPassword(uint8_t (&packet)[MAX_PACKET], const uint8_t (&abMac)[6], const char* pszPassword) {
    memset(packet, 0, sizeof packet);
    uint8_t* pPayload = packet + PACKET_HEADER_SIZE;
    memcpy(pPayload, abMac, sizeof abMac);
    size_t nLength = strnlen(pszPassword, PASSWORD_MAX_LENGTH);
    memcpy(pPayload + 6, pszPassword, nLength);
}
