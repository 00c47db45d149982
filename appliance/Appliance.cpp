// Defaults, settings keys and the JSON view of a simulated appliance.
#include "Appliance.h"

#include "TextFormat.h"

#include <cstring>

Appliance MakeAppliance(const std::string& name, uint32_t address) {
    Appliance a;
    a.name = name;
    a.address = address;
    a.infoText = "ZT-2000 sim";
    SettingsRecord& r = a.record;
    for (size_t i = 0; i < DEVICE_SETTINGS_SIZE; ++i) r[i] = IsUninterpretedSettingsByte(i) ? UninterpretedFill(i) : 0;
    const uint8_t mac[6] = {0x02,
                            0x5a,
                            0x54,
                            static_cast<uint8_t>(address >> 16),
                            static_cast<uint8_t>(address >> 8),
                            static_cast<uint8_t>(address)};
    memcpy(r.data() + Settings::abMac, mac, 6);
    SetText(r, Settings::szServerName, name);
    SetText(r, Settings::szNote, "note of " + name);
    SetText(r, Settings::szDate, "12/08/2026");
    SetText(r, Settings::szTime, "23:15:00");
    r[Settings::bFixedIp] = 1;
    SetAddressField(r, Settings::abIpAddress, address);
    SetAddressField(r, Settings::abSubnetMask, 0xFFFFFF00);
    SetAddressField(r, Settings::abGateway, (address & 0xFFFFFF00) | 1);
    r[Settings::bDhcpServerOff] = 1;
    SetText(r, Settings::szWorkgroup, "WORKGROUP");
    SetText(r, Settings::szAuxName, "aux of " + name);
    SetTimeZone(r, 22);
    SetAddressField(r, Settings::abReportedAddress, address);
    return a;
}

struct EjectModeRow {
    EjectMode mode;
    const char* name;
};
// The eject settings' words, as the configuration file and the control channel take them.
static const EjectModeRow kEjectModes[] = {
    {EjectMode::Success, "success"},
    {EjectMode::InUse, "inuse"},
    {EjectMode::OtherType, "other"},
    {EjectMode::Silent, "silent"},
};

static bool TextSetting(Appliance& a, const TextField& field, const std::string& value, std::string* error) {
    if (value.size() >= field.width) {
        *error = std::string(field.name) + " holds at most " + std::to_string(field.width - 1) + " characters";
        return false;
    }
    SetText(a.record, field, value);
    return true;
}

static bool AddressSetting(Appliance& a, size_t offset, const std::string& value, std::string* error) {
    uint32_t address;
    if (!ParseAddress(value, &address)) {
        *error = "'" + value + "' is not a dotted IPv4 address";
        return false;
    }
    SetAddressField(a.record, offset, address);
    return true;
}

bool ApplySetting(Appliance& a, const std::string& key, const std::string& value, std::string* error) {
    long n = 0;
    if (key == "address") {
        uint32_t address;
        if (!ParseAddress(value, &address)) {
            *error = "'" + value + "' is not a dotted IPv4 address";
            return false;
        }
        a.address = address;
        return true;
    }
    if (key == "mac") {
        if (!ParseMac(value, a.record.data() + Settings::abMac)) {
            *error = "'" + value + "' is not a MAC address (02:5a:00:00:00:01)";
            return false;
        }
        return true;
    }
    if (key == "server-name") return TextSetting(a, Settings::szServerName, value, error);
    if (key == "note") return TextSetting(a, Settings::szNote, value, error);
    if (key == "date") return TextSetting(a, Settings::szDate, value, error);
    if (key == "time") return TextSetting(a, Settings::szTime, value, error);
    if (key == "workgroup") return TextSetting(a, Settings::szWorkgroup, value, error);
    if (key == "aux") return TextSetting(a, Settings::szAuxName, value, error);
    if (key == "ip") return AddressSetting(a, Settings::abIpAddress, value, error);
    if (key == "mask") return AddressSetting(a, Settings::abSubnetMask, value, error);
    if (key == "gateway") return AddressSetting(a, Settings::abGateway, value, error);
    if (key == "reported-address") return AddressSetting(a, Settings::abReportedAddress, value, error);
    if (key == "fixed-ip" || key == "dhcp-server-off") {
        if (!ParseInt(value, 0, 255, &n)) {
            *error = key + " takes a number 0..255";
            return false;
        }
        a.record[key == "fixed-ip" ? Settings::bFixedIp : Settings::bDhcpServerOff] = static_cast<uint8_t>(n);
        return true;
    }
    if (key == "timezone") {
        if (!ParseInt(value, INT32_MIN, INT32_MAX, &n)) {
            *error = "timezone takes a 32-bit number";
            return false;
        }
        SetTimeZone(a.record, static_cast<int32_t>(n));
        return true;
    }
    if (key == "password") {
        if (value.size() > 14) {
            *error = "a password has at most 14 characters";
            return false;
        }
        a.password = value;
        return true;
    }
    if (key == "info") {
        if (value.size() > 14) {
            *error = "szInfoText holds at most 14 characters";
            return false;
        }
        a.infoText = value;
        return true;
    }
    if (key == "state") {
        if (!ParseInt(value, 0, 65535, &n)) {
            *error = "state takes a number 0..65535";
            return false;
        }
        a.state = static_cast<uint16_t>(n);
        return true;
    }
    if (key == "disk") {
        if (value.size() >= 256) {
            *error = "a disk path holds at most 255 characters";
            return false;
        }
        a.disk = value == "none" ? std::string() : value;
        return true;
    }
    if (key == "result") {
        if (!ParseInt(value, -32768, 32767, &n)) {
            *error = "result takes a signed 16-bit number";
            return false;
        }
        a.setConfigResult = static_cast<int16_t>(n);
        return true;
    }
    if (key == "address-change") {
        if (value == "keep")
            a.addressChange = AddressChange::Keep;
        else if (value == "move")
            a.addressChange = AddressChange::Move;
        else {
            *error = "address-change is keep or move";
            return false;
        }
        return true;
    }
    if (key == "eject") {
        for (const EjectModeRow& row : kEjectModes) {
            if (value == row.name) {
                a.eject = row.mode;
                return true;
            }
        }
        *error = "eject is success, inuse, other or silent";
        return false;
    }
    if (key == "fault") return ParseFaultModes(SplitWords(value), &a.faults, error);
    if (key == "record") {
        std::string bytes;
        if (!FromHex(value, &bytes) || bytes.size() != DEVICE_SETTINGS_SIZE) {
            *error = "record takes 234 bytes as 468 hex digits";
            return false;
        }
        memcpy(a.record.data(), bytes.data(), DEVICE_SETTINGS_SIZE);
        return true;
    }
    *error = "unknown setting '" + key + "'";
    return false;
}

const char* EjectModeName(EjectMode mode) {
    for (const EjectModeRow& row : kEjectModes)
        if (row.mode == mode) return row.name;
    return "?";
}

std::string DescribeAppliance(const Appliance& a) {
    const ApplianceCounters& c = a.counters;
    return "{\"name\":" + JsonString(a.name) + ",\"address\":" + JsonString(FormatAddress(a.address)) +
           ",\"mac\":" + JsonString(FormatMac(a.record.data())) + ",\"password\":" + JsonString(a.password) +
           ",\"info\":" + JsonString(a.infoText) + ",\"state\":" + std::to_string(a.state) +
           ",\"disk\":" + JsonString(a.disk) + ",\"result\":" + std::to_string(a.setConfigResult) +
           ",\"address-change\":\"" + (a.addressChange == AddressChange::Move ? "move" : "keep") + "\",\"eject\":\"" +
           EjectModeName(a.eject) + "\",\"fault\":" + JsonString(FormatFaultModes(a.faults)) +
           ",\"settings\":" + DescribeSettings(a.record.data(), a.record.size()) +
           ",\"counts\":{\"get-info\":" + std::to_string(c.getInfo) + ",\"set-config\":" + std::to_string(c.setConfig) +
           ",\"check-password\":" + std::to_string(c.checkPassword) + ",\"discovery\":" + std::to_string(c.discovery) +
           ",\"eject\":" + std::to_string(c.eject) + ",\"dropped-requests\":" + std::to_string(c.droppedRequests) +
           ",\"dropped-replies\":" + std::to_string(c.droppedReplies) + ",\"replies\":" + std::to_string(c.replies) +
           ",\"notices\":" + std::to_string(c.notices) + "}}";
}
