// Random records and edits, and the record expected after a read and the pages' stores.
#include "RecordModel.h"

#include <cstdio>
#include <cstring>

namespace {

// Characters a server name may hold; the workgroup also takes a space.
const char kNameChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_!#$%&()@^~{}";

int Uniform(std::mt19937& rng, int nMin, int nMax) {
    return std::uniform_int_distribution<int>(nMin, nMax)(rng);
}

std::string RandomName(std::mt19937& rng, int nMinLength, int nMaxLength, bool bSpaces) {
    const int nLength = Uniform(rng, nMinLength, nMaxLength);
    std::string out;
    for (int i = 0; i < nLength; ++i) {
        if (bSpaces && Uniform(rng, 0, 7) == 0)
            out += ' ';
        else
            out += kNameChars[Uniform(rng, 0, static_cast<int>(sizeof kNameChars) - 2)];
    }
    return out;
}

// The text and its NUL at the start of the field; the bytes after it stay as they are.
template <size_t N>
void PutText(char (&field)[N], const std::string& text) {
    memcpy(field, text.c_str(), text.size() + 1);
}

template <size_t N>
std::string TextOf(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

template <size_t N>
void StoreZeroFilled(char (&field)[N], const std::string& text) {
    memset(field, 0, N);
    memcpy(field, text.data(), text.size());
}

std::string Trimmed(const std::string& text) {
    const size_t nBegin = text.find_first_not_of(" \t");
    if (nBegin == std::string::npos) return std::string();
    const size_t nEnd = text.find_last_not_of(" \t");
    return text.substr(nBegin, nEnd - nBegin + 1);
}

bool IsLeap(int nYear) {
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysOf(int nMonth, int nYear) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return nMonth == 2 && IsLeap(nYear) ? 29 : kDays[nMonth - 1];
}

}  // namespace

DeviceSettings RandomRecord(std::mt19937& rng, const uint8_t (&abMac)[6]) {
    DeviceSettings s;
    uint8_t* p = reinterpret_cast<uint8_t*>(&s);
    for (size_t i = 0; i < sizeof s; ++i) p[i] = static_cast<uint8_t>(rng());
    memcpy(s.abMac, abMac, sizeof s.abMac);
    PutText(s.szServerName, RandomName(rng, 1, 14, false));
    s.szServerName[sizeof s.szServerName - 1] = static_cast<char>(rng());
    const int nYear = Uniform(rng, 1980, 2030), nMonth = Uniform(rng, 1, 12);
    const int nDay = Uniform(rng, 1, DaysOf(nMonth, nYear));
    char szDate[16], szTime[16];
    snprintf(szDate, sizeof szDate, "%02d/%02d/%04d", nMonth, nDay, nYear);
    snprintf(szTime, sizeof szTime, "%02d:%02d:%02d", Uniform(rng, 0, 23), Uniform(rng, 0, 59), Uniform(rng, 0, 59));
    memcpy(s.szDate, szDate, 10);
    memcpy(s.szTime, szTime, 8);
    PutText(s.szWorkgroup, RandomName(rng, 0, 15, true));
    s.szWorkgroup[sizeof s.szWorkgroup - 1] = static_cast<char>(rng());
    // Half of the zones are indexes the pages show, the other half any 32-bit value.
    if (Uniform(rng, 0, 1) == 0) s.nTimeZone = Uniform(rng, 0, 62);
    return s;
}

RecordEdits RandomEdits(std::mt19937& rng) {
    RecordEdits e;
    e.bDhcpClient = Uniform(rng, 0, 3) == 0;
    e.bNewAddress = Uniform(rng, 0, 1) == 0;
    e.bNewMask = Uniform(rng, 0, 1) == 0;
    e.bNewGateway = Uniform(rng, 0, 1) == 0;
    for (int k = 0; k < 4; ++k) {
        e.abIpAddress[k] = static_cast<uint8_t>(Uniform(rng, 0, 255));
        e.abSubnetMask[k] = static_cast<uint8_t>(Uniform(rng, 0, 255));
        e.abGateway[k] = static_cast<uint8_t>(Uniform(rng, 0, 255));
    }
    e.bNewName = Uniform(rng, 0, 1) == 0;
    e.serverName = RandomName(rng, 1, 14, false);
    e.bNewWorkgroup = Uniform(rng, 0, 1) == 0;
    e.workgroup = RandomName(rng, 1, 15, true);
    e.bNewZone = Uniform(rng, 0, 1) == 0;
    e.nTimeZone = Uniform(rng, 0, 62);
    e.bNewDate = Uniform(rng, 0, 1) == 0;
    e.nMonth = Uniform(rng, 1, 12);
    e.nDay = Uniform(rng, 1, 28);
    e.nYear = Uniform(rng, 1980, 2030);
    e.bNewTime = Uniform(rng, 0, 1) == 0;
    e.nHour = Uniform(rng, 0, 23);
    e.nMinute = Uniform(rng, 0, 59);
    return e;
}

DeviceSettings ExpectedAfterRead(const DeviceSettings& served, const uint8_t (&abSender)[4]) {
    DeviceSettings s = served;
    s.szServerName[sizeof s.szServerName - 1] = 0;
    s.szNote[sizeof s.szNote - 1] = 0;
    s.szDate[sizeof s.szDate - 1] = 0;
    s.szTime[sizeof s.szTime - 1] = 0;
    s.szWorkgroup[sizeof s.szWorkgroup - 1] = 0;
    s.szAuxName[sizeof s.szAuxName - 1] = 0;
    memcpy(s.abReportedAddress, served.abIpAddress, 4);
    memcpy(s.abIpAddress, abSender, 4);
    return s;
}

DeviceSettings ExpectedAfterEdits(const DeviceSettings& read, const RecordEdits& e) {
    DeviceSettings s = read;
    // IP settings page.
    s.bFixedIp = e.bDhcpClient ? 0 : 1;
    if (!e.bDhcpClient) {
        if (e.bNewAddress) memcpy(s.abIpAddress, e.abIpAddress, 4);
        if (e.bNewMask) memcpy(s.abSubnetMask, e.abSubnetMask, 4);
        if (e.bNewGateway) memcpy(s.abGateway, e.abGateway, 4);
    }
    s.bDhcpServerOff = 1;
    // Server page: every field is stored, edited or not.
    StoreZeroFilled(s.szServerName, Trimmed(e.bNewName ? e.serverName : TextOf(read.szServerName)));
    memset(s.szNote, 0, sizeof s.szNote);
    StoreZeroFilled(s.szWorkgroup, Trimmed(e.bNewWorkgroup ? e.workgroup : TextOf(read.szWorkgroup)));
    if (e.bNewZone)
        s.nTimeZone = e.nTimeZone;
    else if (read.nTimeZone < 0 || read.nTimeZone > 62)
        s.nTimeZone = 4;
    char sz[16];
    if (e.bNewDate) {
        snprintf(sz, sizeof sz, "%02d/%02d/%04d", e.nMonth, e.nDay, e.nYear);
        memcpy(s.szDate, sz, 11);
    }
    if (e.bNewTime) {
        snprintf(sz, sizeof sz, "%02d:%02d:00", e.nHour, e.nMinute);
        memcpy(s.szTime, sz, 9);
    } else {
        s.szTime[6] = '0';
        s.szTime[7] = '0';
    }
    return s;
}

std::string RecordHex(const DeviceSettings& settings) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&settings);
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < sizeof settings; ++i) {
        out += kDigits[p[i] >> 4];
        out += kDigits[p[i] & 15];
    }
    return out;
}

std::string DifferingOffsets(const DeviceSettings& a, const DeviceSettings& b) {
    const uint8_t* pa = reinterpret_cast<const uint8_t*>(&a);
    const uint8_t* pb = reinterpret_cast<const uint8_t*>(&b);
    std::string out;
    for (size_t i = 0; i < sizeof a; ++i)
        if (pa[i] != pb[i]) out += (out.empty() ? "" : " ") + std::to_string(i);
    return out.empty() ? "none" : out;
}
