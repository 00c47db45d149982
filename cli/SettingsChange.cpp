// Checking and applying a change of settings with the wizard's field rules.
#include "SettingsChange.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "AddressText.h"
#include "CheckNumber.h"
#include "FieldRules.h"
#include "TimeZones.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string RangeText(const char* pszField, int nMin, int nMax) {
    return std::string(pszField) + " must be between " + std::to_string(nMin) + " and " + std::to_string(nMax);
}

// The 24-hour time as the server page's 12-hour fields.
struct TwelveHour {
    std::string hour, minute;
    bool bPm;
};

std::optional<TwelveHour> ParseTime(const std::string& text, std::string& error) {
    std::vector<std::string> parts = Split(text, ':');
    if (parts.size() != 2 || CheckNumber(parts[0].c_str(), 0, 23, 2, CHECK_NUMBER_MAX_LEN) != CHECK_NUMBER_VALID ||
        CheckNumber(parts[1].c_str(), 0, 59, 2, CHECK_NUMBER_EXACT_LEN) != CHECK_NUMBER_VALID) {
        error = "--time must be HH:MM (00:00 to 23:59)";
        return std::nullopt;
    }
    int nHour = TextValue(parts[0].c_str());
    int nTwelve = nHour % 12 == 0 ? 12 : nHour % 12;
    return TwelveHour{std::to_string(nTwelve), parts[1], nHour >= 12};
}

struct DateParts {
    std::string year, month, day;
};

std::optional<DateParts> ParseDate(const std::string& text, std::string& error) {
    std::vector<std::string> parts = Split(text, '-');
    if (parts.size() != 3 || parts[0].size() != 4 || parts[1].empty() || parts[1].size() > 2 || parts[2].empty() ||
        parts[2].size() > 2) {
        error = "--date must be YYYY-MM-DD";
        return std::nullopt;
    }
    return DateParts{parts[0], parts[1], parts[2]};
}

const char* ServerFieldName(ServerField field) {
    switch (field) {
        case ServerField::Month:
            return "month";
        case ServerField::Day:
            return "day";
        case ServerField::Year:
            return "year";
        case ServerField::Hour:
            return "hour";
        case ServerField::Minute:
            return "minute";
        case ServerField::None:
            break;
    }
    return "field";
}

// The server page's check over the name, workgroup, date and time, where the ones not given take neutral
// valid values: each given field is judged alone, exactly as the page judges it.
std::optional<std::string> CheckServerFields(const CSettingsChange& c) {
    std::string error;
    DateParts date{"2000", "1", "1"};
    TwelveHour time{"12", "00", false};
    if (c.date) {
        auto parsed = ParseDate(*c.date, error);
        if (!parsed) return error;
        date = *parsed;
    }
    if (c.time) {
        auto parsed = ParseTime(*c.time, error);
        if (!parsed) return error;
        time = *parsed;
    }
    std::string name = c.name.value_or("NAME");
    std::string workgroup = c.workgroup.value_or("");
    if (name.size() > 14) return "--name has more than 14 characters";
    if (workgroup.size() > 15) return "--workgroup has more than 15 characters";
    ServerPageTexts texts{name.c_str(),      workgroup.c_str(), date.month.c_str(), date.day.c_str(),
                          date.year.c_str(), time.hour.c_str(), time.minute.c_str()};
    ServerCheckOutcome o = CheckServerPage(texts);
    switch (o.message) {
        case ServerMessage::ServerNameChars:
            return "--name may not hold a space or any of \" ' * + , . / : ; < = > ? [ \\ ] ` |";
        case ServerMessage::WorkgroupChars:
            return "--workgroup may not hold any of \" ' * + , . / : ; < = > ? [ \\ ] ` |";
        case ServerMessage::NotNumeric:
            return std::string(ServerFieldName(o.field)) + " must be numeric";
        case ServerMessage::Range:
            return RangeText(ServerFieldName(o.field), o.nMin, o.nMax);
        case ServerMessage::None:
            break;
    }
    if (!o.bComplete) return c.name && name.empty() ? "--name may not be empty" : "the date or time is incomplete";
    return std::nullopt;
}

std::optional<std::string> CheckAddresses(const CSettingsChange& c) {
    const std::optional<std::string>* fields[3] = {&c.ip, &c.mask, &c.gateway};
    const char* names[3] = {"--ip", "--mask", "--gateway"};
    std::vector<std::string> octets(IP_FIELD_COUNT, "0");
    for (int f = 0; f < 3; ++f) {
        if (!*fields[f]) continue;
        std::vector<std::string> parts = Split(**fields[f], '.');
        if (parts.size() != 4 || std::any_of(parts.begin(), parts.end(), [](auto& p) { return p.empty(); }))
            return std::string(names[f]) + " must be four octets a.b.c.d";
        for (int i = 0; i < 4; ++i) octets[static_cast<size_t>(f * 4 + i)] = parts[static_cast<size_t>(i)];
    }
    const char* texts[IP_FIELD_COUNT];
    for (int i = 0; i < IP_FIELD_COUNT; ++i) texts[i] = octets[static_cast<size_t>(i)].c_str();
    IpCheckOutcome o = CheckIpFields(texts, true, false);
    if (o.nResult == CHECK_NUMBER_VALID) return std::nullopt;
    std::string field = names[o.nField / 4];
    if (o.nResult == CHECK_NUMBER_NOT_DIGIT) return field + " must be numeric";
    return RangeText((field + " octets").c_str(), o.nMin, o.nMax);
}

void StoreOctets(const std::string& text, uint8_t (&abOctets)[4]) {
    std::vector<std::string> parts = Split(text, '.');
    for (size_t i = 0; i < 4; ++i) abOctets[i] = OctetValue(parts[i].c_str());
}

std::string Dotted(const uint8_t (&abOctets)[4]) {
    char sz[16];
    FormatDotted(abOctets, sz);
    return sz;
}

template <size_t N>
std::string Text(const char (&sz)[N]) {
    return std::string(sz, strnlen(sz, N));
}

}  // namespace

bool CSettingsChange::IsEmpty() const {
    return !dhcp && !ip && !mask && !gateway && !name && !workgroup && !timezone && !date && !time;
}

std::vector<std::string> CSettingsChange::Check() const {
    std::vector<std::string> errors;
    if (dhcp && *dhcp != "on" && *dhcp != "off") errors.push_back("--dhcp must be on or off");
    if (dhcp && *dhcp == "on" && (ip || mask || gateway))
        errors.push_back("--ip, --mask and --gateway need a fixed address, not --dhcp on");
    if (auto error = CheckAddresses(*this)) errors.push_back(*error);
    if (auto error = CheckServerFields(*this)) errors.push_back(*error);
    std::string error;
    if (timezone && ResolveTimeZone(*timezone, error) < 0) errors.push_back(error);
    return errors;
}

void CSettingsChange::ApplyTo(DeviceSettings& s) const {
    if (dhcp || ip || mask || gateway) {
        // As the IP settings page stores: the appliance's own DHCP server is always switched off.
        s.bFixedIp = (dhcp && *dhcp == "on") ? 0 : 1;
        s.bDhcpServerOff = 1;
    }
    if (ip) StoreOctets(*ip, s.abIpAddress);
    if (mask) StoreOctets(*mask, s.abSubnetMask);
    if (gateway) StoreOctets(*gateway, s.abGateway);
    if (name) StoreServerName(s, name->c_str());
    if (workgroup) StoreTrimmed(workgroup->c_str(), s.szWorkgroup, sizeof s.szWorkgroup, 15);
    std::string error;
    if (timezone) s.nTimeZone = ResolveTimeZone(*timezone, error);
    if (date) {
        DateParts d = *ParseDate(*date, error);
        StoreDate(d.month.c_str(), d.day.c_str(), d.year.c_str(), s.szDate);
    }
    if (time) {
        TwelveHour t = *ParseTime(*time, error);
        StoreTime(t.hour.c_str(), t.minute.c_str(), t.bPm, s.szTime);
    }
}

void CSettingsChange::SetClock(int nYear, int nMonth, int nDay, int nHour, int nMinute) {
    char sz[32];
    snprintf(sz, sizeof sz, "%04d-%02d-%02d", nYear, nMonth, nDay);
    date = sz;
    snprintf(sz, sizeof sz, "%02d:%02d", nHour, nMinute);
    time = sz;
}

std::vector<FieldDifference> DescribeSettings(const DeviceSettings& s) {
    return {
        {"name", "", Text(s.szServerName)},
        {"mac", "", FormatMac(s.abMac)},
        {"dhcp", "", s.bFixedIp ? "off" : "on"},
        {"ip", "", Dotted(s.abIpAddress)},
        {"mask", "", Dotted(s.abSubnetMask)},
        {"gateway", "", Dotted(s.abGateway)},
        {"workgroup", "", Text(s.szWorkgroup)},
        {"timezone", "", std::to_string(s.nTimeZone) + " " + TimeZoneDisplayName(s.nTimeZone)},
        {"date", "", Text(s.szDate)},
        {"time", "", Text(s.szTime)},
        {"note", "", Text(s.szNote)},
    };
}

std::vector<FieldDifference> DiffSettings(const DeviceSettings& before, const DeviceSettings& after) {
    const std::vector<FieldDifference> a = DescribeSettings(before), b = DescribeSettings(after);
    std::vector<FieldDifference> result;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].after != b[i].after) result.push_back({a[i].field, a[i].after, b[i].after});
    if (before.bDhcpServerOff != after.bDhcpServerOff)
        result.push_back(
            {"dhcp-server-off", std::to_string(before.bDhcpServerOff), std::to_string(after.bDhcpServerOff)});
    // Everything the rows above do not show must travel back untouched; say so if it does not.
    auto unnamed = [](DeviceSettings s) {
        memset(s.szServerName, 0, sizeof s.szServerName);
        memset(s.szNote, 0, sizeof s.szNote);
        memset(s.szDate, 0, sizeof s.szDate);
        memset(s.szTime, 0, sizeof s.szTime);
        memset(s.abIpAddress, 0, sizeof s.abIpAddress);
        memset(s.abSubnetMask, 0, sizeof s.abSubnetMask);
        memset(s.abGateway, 0, sizeof s.abGateway);
        memset(s.szWorkgroup, 0, sizeof s.szWorkgroup);
        s.bFixedIp = s.bDhcpServerOff = 0;
        s.nTimeZone = 0;
        return s;
    };
    const DeviceSettings restA = unnamed(before), restB = unnamed(after);
    if (memcmp(&restA, &restB, sizeof restA) != 0) result.push_back({"other bytes", "", "changed"});
    return result;
}

int ResolveTimeZone(const std::string& text, std::string& error) {
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        if (CheckNumber(text.c_str(), 0, TIME_ZONE_COUNT - 1, 2, CHECK_NUMBER_MAX_LEN) == CHECK_NUMBER_VALID)
            return TextValue(text.c_str());
        error = RangeText("--timezone", 0, TIME_ZONE_COUNT - 1);
        return -1;
    }
    const std::string wanted = Lower(text);
    std::vector<int> matches;
    for (int i = 0; i < TIME_ZONE_COUNT; ++i) {
        std::string zone = Lower(g_timeZoneNames[i]);
        if (zone == wanted) return i;
        if (!wanted.empty() && zone.find(wanted) != std::string::npos) matches.push_back(i);
    }
    if (matches.size() == 1) return matches[0];
    if (matches.empty()) {
        error = "--timezone: no time zone is called \"" + text + "\" (see zentrive timezones)";
    } else {
        error = "--timezone: \"" + text + "\" matches several time zones:";
        for (int i : matches) error += "\n  " + std::to_string(i) + " " + g_timeZoneNames[i];
    }
    return -1;
}
