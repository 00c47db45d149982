// Typed texts and received clock fields through every field rule: no read or write outside the fields.
#include <cstdint>
#include <cstring>
#include <string>

#include "../FieldRules.h"
#include "../../link/TimeZones.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const char* p = text.c_str();
    const char* ip[IP_FIELD_COUNT];
    for (auto& f : ip) f = p;
    CheckIpFields(ip, true, true);
    OctetValue(p);
    CheckServerPage(ServerPageTexts{p, p, p, p, p, p, p});
    char t[9], d[11];
    StoreTime(p, p, size & 1, t);
    StoreDate(p, p, p, d);
    // Received bytes, not terminated.
    char date[11] = {}, time[9] = {};
    memcpy(date, data, size < sizeof date ? size : sizeof date);
    if (size > sizeof date)
        memcpy(time, data + sizeof date, size - sizeof date < sizeof time ? size - sizeof date : sizeof time);
    LoadClock(date, time);
    int32_t nZone = 0;
    memcpy(&nZone, data, size < sizeof nZone ? size : sizeof nZone);
    if (TimeZoneDisplayName(NormalizeTimeZone(nZone)) == nullptr) __builtin_trap();
    uint8_t abOctets[4] = {};
    memcpy(abOctets, data, size < sizeof abOctets ? size : sizeof abOctets);
    char szDotted[16];
    FormatDotted(abOctets, szDotted);
    if (strnlen(szDotted, sizeof szDotted) >= sizeof szDotted) __builtin_trap();
    DeviceSettings s{};
    StoreServerName(s, p);
    StoreTrimmed(p, s.szWorkgroup, sizeof s.szWorkgroup, 15);
    return 0;
}
