// The field rules of the IP settings and server pages.
#include "FieldRules.h"

#include <cstdio>
#include <cstring>

#include "../link/TimeZones.h"
#include "../widgets/CheckNumber.h"

namespace {

// Reads at most n characters of a text into a terminated buffer.
template <size_t N>
void Prefix(const char* pszText, char (&out)[N]) {
    size_t i = 0;
    if (pszText)
        for (; i + 1 < N && pszText[i]; ++i) out[i] = pszText[i];
    out[i] = 0;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Writes the first nWidth characters of the text right-aligned into dest[0..nWidth).
void RightAlign(const char* pszText, char* dest, int nWidth) {
    char buf[8];
    int n = 0;
    if (pszText)
        while (n < nWidth && pszText[n]) {
            buf[n] = pszText[n];
            ++n;
        }
    for (int i = 0; i < n; ++i) dest[nWidth - n + i] = buf[i];
}

}  // namespace

IpCheckOutcome CheckIpFields(const char* const (&texts)[IP_FIELD_COUNT], bool bFixedIp, bool bDhcpServerOn) {
    IpCheckOutcome out{CHECK_NUMBER_VALID, -1, 0, 0};
    if (!bFixedIp) return out;
    const int nLast = bDhcpServerOn ? IP_FIELD_RANGE_FINISH_LAST : 11;
    for (int i = 0; i <= nLast; ++i) {
        const bool bRangeOctet = i == IP_FIELD_RANGE_START_LAST || i == IP_FIELD_RANGE_FINISH_LAST;
        const int nMin = bRangeOctet ? 1 : 0, nMax = bRangeOctet ? 254 : 255;
        char text[5];
        Prefix(texts[i], text);
        const int r = CheckNumber(text, nMin, nMax, 3, 5);
        if (r == CHECK_NUMBER_VALID) continue;
        if (r == CHECK_NUMBER_EMPTY && (i <= 7 || (i >= 12 && i <= 14))) continue;
        return IpCheckOutcome{r, i, nMin, nMax};
    }
    return out;
}

uint8_t OctetValue(const char* pszText) {
    char text[5];
    Prefix(pszText, text);
    if (CheckNumber(text, 0, 9999, 4, 0) == CHECK_NUMBER_NOT_DIGIT) return 0;
    return static_cast<uint8_t>(TextValue(text) & 0xFF);
}

int CheckNameChars(const char* pszText) {
    static const char kForbidden[] = "\"'*+,./:;<=>?[\\]`|";
    for (const char* p = pszText; p && *p; ++p)
        if (strchr(kForbidden, *p)) return 0;
    return 1;
}

int CheckServerNameChars(const char* pszText) {
    for (const char* p = pszText; p && *p; ++p)
        if (*p == ' ') return 0;
    return CheckNameChars(pszText);
}

int DaysInMonth(int nMonth, int nYear) {
    switch (nMonth) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 2:
            return ((nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0) ? 29 : 28;
        default:
            return 30;
    }
}

int TextValue(const char* pszText) {
    // Only digits count, and a long run stops before it could overflow.
    long long v = 0;
    for (const char* p = pszText; p && *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > 0x7fffffffLL) return 0x7fffffff;
    }
    return static_cast<int>(v);
}

ServerCheckOutcome CheckServerPage(const ServerPageTexts& t) {
    ServerCheckOutcome out{1, ServerMessage::None, ServerField::None, 0, 0};
    if (!t.pszServerName || !*t.pszServerName) {
        out.bComplete = 0;
    } else if (!CheckServerNameChars(t.pszServerName)) {
        // A refused name must not go on to the appliance: the page is incomplete until it is mended.
        out.bComplete = 0;
        out.message = ServerMessage::ServerNameChars;
        return out;
    }
    if (!CheckNameChars(t.pszWorkgroup)) {
        out.bComplete = 0;
        out.message = ServerMessage::WorkgroupChars;
        return out;
    }
    struct Step {
        ServerField field;
        const char* pszText;
        int nMin, nMax;
        bool bIncomplete;
    };
    // While the year is still being typed its value says nothing about leap years: a February day up to
    // 29 waits for the whole year instead of being refused (and emptied) at its first digit.
    const bool bYearComplete = t.pszYear && strlen(t.pszYear) >= 4;
    const int nDays = DaysInMonth(TextValue(t.pszMonth), bYearComplete ? TextValue(t.pszYear) : 2000);
    const Step steps[] = {
        {ServerField::Month, t.pszMonth, 1, 12, !t.pszMonth || !*t.pszMonth},
        {ServerField::Year, t.pszYear, 1980, 2030, !t.pszYear || strlen(t.pszYear) < 4},
        {ServerField::Day, t.pszDay, 1, nDays, !t.pszDay || !*t.pszDay},
        {ServerField::Hour, t.pszHour, 1, 12, !t.pszHour || !*t.pszHour},
        {ServerField::Minute, t.pszMinute, 0, 59, !t.pszMinute || !*t.pszMinute},
    };
    for (const Step& s : steps) {
        if (s.bIncomplete) {
            out.bComplete = 0;
            continue;
        }
        // A lone 0 in a two-digit field that starts at 1 is the first digit of a leading-zero value ("02"), as
        // the page shows them: incomplete, not out of range. A minute of 0 is a minute.
        if (s.nMin == 1 && strcmp(s.pszText, "0") == 0) {
            out.bComplete = 0;
            continue;
        }
        const int r = CheckNumber(s.pszText, s.nMin, s.nMax, 0, 0);
        if (r == CHECK_NUMBER_NOT_DIGIT || r == CHECK_NUMBER_RANGE) {
            out.bComplete = 0;
            out.message = r == CHECK_NUMBER_NOT_DIGIT ? ServerMessage::NotNumeric : ServerMessage::Range;
            out.field = s.field;
            out.nMin = s.nMin;
            out.nMax = s.nMax;
            return out;
        }
    }
    return out;
}

void StoreTime(const char* pszHour, const char* pszMinute, bool bPm, char (&szTime)[9]) {
    char hour[3], minute[3];
    Prefix(pszHour, hour);
    Prefix(pszMinute, minute);
    int h = TextValue(hour);
    if (bPm && h != 12) h += 12;
    if (!bPm && h == 12) h = 0;
    memset(szTime, '0', 8);
    szTime[8] = 0;
    char hourText[4];
    snprintf(hourText, sizeof hourText, "%d", h % 100);
    RightAlign(hourText, szTime, 2);
    RightAlign(minute, szTime + 3, 2);
    szTime[2] = ':';
    szTime[5] = ':';
}

void StoreDate(const char* pszMonth, const char* pszDay, const char* pszYear, char (&szDate)[11]) {
    char month[3], day[3], year[5];
    Prefix(pszMonth, month);
    Prefix(pszDay, day);
    Prefix(pszYear, year);
    memset(szDate, '0', 10);
    szDate[10] = 0;
    RightAlign(month, szDate, 2);
    RightAlign(day, szDate + 3, 2);
    RightAlign(year, szDate + 6, 4);
    szDate[2] = '/';
    szDate[5] = '/';
}

LoadedClock LoadClock(const char (&szDate)[11], const char (&szTime)[9]) {
    LoadedClock c{};
    // The parts sit between the separators; a record from the appliance need not be well formed.
    auto part = [](const char* p, size_t nSize, size_t nFrom, size_t nLen, char* out) {
        size_t n = 0;
        for (; n < nLen && nFrom + n < nSize && p[nFrom + n] && p[nFrom + n] != '/' && p[nFrom + n] != ':'; ++n)
            out[n] = p[nFrom + n];
        out[n] = 0;
    };
    const size_t nDateLen = strnlen(szDate, sizeof szDate);
    const size_t nTimeLen = strnlen(szTime, sizeof szTime);
    part(szDate, nDateLen, 0, 2, c.szMonth);
    part(szDate, nDateLen, 3, 2, c.szDay);
    part(szDate, nDateLen, 6, 4, c.szYear);
    char hour[3];
    part(szTime, nTimeLen, 0, 2, hour);
    part(szTime, nTimeLen, 3, 2, c.szMinute);
    int h = TextValue(hour);
    c.bPm = h >= 12;
    if (h < 12) {
        if (h == 0) h = 12;
    } else if (h > 12) {
        h -= 12;
    }
    snprintf(c.szHour, sizeof c.szHour, "%d", h % 100);
    return c;
}

int32_t NormalizeTimeZone(int32_t nTimeZone) {
    return (nTimeZone < 0 || nTimeZone >= TIME_ZONE_COUNT) ? DEFAULT_TIME_ZONE : nTimeZone;
}

void StoreTrimmed(const char* pszText, char* pField, int nFieldSize, int nMax) {
    memset(pField, 0, static_cast<size_t>(nFieldSize));
    if (!pszText) return;
    const char* pBegin = pszText;
    while (*pBegin && IsSpace(*pBegin)) ++pBegin;
    const char* pEnd = pBegin + strlen(pBegin);
    while (pEnd > pBegin && IsSpace(pEnd[-1])) --pEnd;
    size_t n = static_cast<size_t>(pEnd - pBegin);
    if (n > static_cast<size_t>(nMax)) n = static_cast<size_t>(nMax);
    memcpy(pField, pBegin, n);
}

void StoreServerName(DeviceSettings& settings, const char* pszText) {
    static_assert(offsetof(DeviceSettings, szNote) + sizeof settings.szNote - offsetof(DeviceSettings, szServerName) ==
                  64);
    memset(settings.szNote, 0, sizeof settings.szNote);
    StoreTrimmed(pszText, settings.szServerName, sizeof settings.szServerName, 14);
}

void FormatDotted(const uint8_t (&abOctets)[4], char (&szText)[16]) {
    snprintf(szText, sizeof szText, "%u.%u.%u.%u", abOctets[0], abOctets[1], abOctets[2], abOctets[3]);
}
