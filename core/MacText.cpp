// MAC address texts.
#include "MacText.h"

#include <cstdio>

bool ParseMac(const std::string& text, uint8_t mac[6]) {
    if (text.size() != 17) return false;
    uint8_t out[6];
    for (size_t i = 0; i < 6; ++i) {
        if (i > 0 && text[i * 3 - 1] != ':' && text[i * 3 - 1] != '-') return false;
        unsigned nValue = 0;
        for (size_t k = 0; k < 2; ++k) {
            char c = text[i * 3 + k];
            int nDigit = (c >= '0' && c <= '9')   ? c - '0'
                         : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                         : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                  : -1;
            if (nDigit < 0) return false;
            nValue = nValue * 16 + static_cast<unsigned>(nDigit);
        }
        out[i] = static_cast<uint8_t>(nValue);
    }
    for (size_t i = 0; i < 6; ++i) mac[i] = out[i];
    return true;
}

std::string FormatMac(const uint8_t mac[6]) {
    char sz[18];
    snprintf(sz, sizeof sz, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return sz;
}
