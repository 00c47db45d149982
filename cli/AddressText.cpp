// Address texts.
#include "AddressText.h"

#include <cstdio>
#include <cstring>

#include "FieldRules.h"

bool ParseMac(const std::string& text, uint8_t (&abMac)[6]) {
    if (text.size() != 17) return false;
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
        abMac[i] = static_cast<uint8_t>(nValue);
    }
    return true;
}

std::string FormatMac(const uint8_t (&abMac)[6]) {
    char sz[18];
    snprintf(sz, sizeof sz, "%02x:%02x:%02x:%02x:%02x:%02x", abMac[0], abMac[1], abMac[2], abMac[3], abMac[4],
             abMac[5]);
    return sz;
}

std::string FormatAddress(uint32_t address) {
    uint8_t abOctets[4];
    memcpy(abOctets, &address, sizeof abOctets);
    char sz[16];
    FormatDotted(abOctets, sz);
    return sz;
}
