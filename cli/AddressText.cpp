// Address texts.
#include "AddressText.h"

#include <cstring>

#include "FieldRules.h"

std::string FormatAddress(uint32_t address) {
    uint8_t abOctets[4];
    memcpy(abOctets, &address, sizeof abOctets);
    char sz[16];
    FormatDotted(abOctets, sz);
    return sz;
}
