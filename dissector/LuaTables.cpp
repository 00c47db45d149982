// Writes the dissector's tables from the wizard's link core and the tray utility's packet code. Nothing here
// restates a number those define: lengths come from the catalogue, texts from the message tables, offsets
// and widths from the wire records themselves.
#include "LuaTables.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>

#include "DeviceInfo.h"
#include "DeviceSettings.h"
#include "PacketCatalogue.h"
#include "PacketHeader.h"
#include "ResultCodes.h"
#include "StringTable.h"
#include "TimeZones.h"
#include "UsbPacket.h"

namespace {

// The lowest result code the appliance's families reach (-1xx, -2xx, -3xx), with room to spare.
constexpr int LOWEST_RESULT_CODE = -999;
// The password check's payload: the appliance's MAC, then the password text up to the catalogue's length.
constexpr size_t PASSWORD_MAC_SIZE = sizeof(DeviceSettings::abMac);

std::string Quote(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p != '\0'; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\%03u", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

struct TypeName {
    uint16_t wType;
    const char* name;
};
#define ZT_TYPE_NAME(type) \
    TypeName {             \
        type, #type        \
    }

// The types the programs send or answer by name; the catalogue accepts more, shown by number. In rising order.
const TypeName CONFIG_TYPE_NAMES[] = {ZT_TYPE_NAME(PKT_GET_INFO), ZT_TYPE_NAME(PKT_SET_CONFIG),
                                      ZT_TYPE_NAME(PKT_CHECK_PASSWORD)};
const TypeName USB_TYPE_NAMES[] = {ZT_TYPE_NAME(PKT_DISK_INFO), ZT_TYPE_NAME(PKT_EJECTED), ZT_TYPE_NAME(PKT_REMOVED),
                                   ZT_TYPE_NAME(PKT_EJECT), ZT_TYPE_NAME(PKT_WRONG_PORT)};

const char* ConfigTypeName(uint16_t wType) {
    for (const TypeName& entry : CONFIG_TYPE_NAMES)
        if (entry.wType == wType) return entry.name;
    return nullptr;
}

// The send operation's catalogue, probed type by type: fixed lengths, and for a type whose length depends on
// a count in the packet, where that count sits and what each counted record adds.
void WriteCatalogue(std::ostringstream& out) {
    uint8_t packet[MAX_PACKET] = {};
    std::vector<uint16_t> counted;
    out << "local config_types = {\n";
    for (unsigned type = 0; type <= 0xFFFF; ++type) {
        uint16_t wType = static_cast<uint16_t>(type);
        int nLength = PayloadLength(wType, packet);
        if (nLength < 0) continue;
        bool bCounted = false;  // the length depends on a count in the packet
        for (int offset = 0; offset < MAX_PACKET && !bCounted; ++offset) {
            packet[offset] = 1;
            bCounted = PayloadLength(wType, packet) != nLength;
            packet[offset] = 0;
        }
        const char* name = ConfigTypeName(wType);
        out << "    [" << type << "] = { name = " << (name ? Quote(name) : "nil");
        if (bCounted) {
            counted.push_back(wType);
            out << ", counted = true";
        } else {
            out << ", length = " << nLength;
        }
        out << " },\n";
    }
    out << "}\n";
    for (uint16_t wType : counted) {
        int nBase = PayloadLength(wType, packet);
        int offset = 0;
        for (; offset < MAX_PACKET; ++offset) {
            packet[offset] = 1;
            int nOne = PayloadLength(wType, packet);
            packet[offset] = 0;
            if (nOne != nBase) {
                out << "config_types[" << wType << "].count_offset = " << offset << "\n";
                out << "config_types[" << wType << "].fixed = " << nBase << "\n";
                out << "config_types[" << wType << "].per_record = " << (nOne - nBase) << "\n";
                break;
            }
        }
    }
}

// A message without a text in the string table would show as an empty box; it shows here as its id.
std::string MessageText(const CStringTable& strings, unsigned nStringId) {
    const char* text = strings.Text(nStringId);
    return Quote(text ? text : ("string " + std::to_string(nStringId)).c_str());
}

void WriteResultCodes(std::ostringstream& out, const CStringTable& strings) {
    const unsigned nOtherId = ResultMessageId(1);  // a positive code is never in the table
    out << "local result_texts = {\n";
    for (int code = -1; code >= LOWEST_RESULT_CODE; --code) {
        unsigned nId = ResultMessageId(code);
        if (nId == nOtherId) continue;
        out << "    [" << code << "] = " << MessageText(strings, nId) << ",\n";
    }
    out << "}\n";
    out << "local OTHER_ERROR = " << MessageText(strings, nOtherId) << "\n";
}

void WriteTimeZones(std::ostringstream& out) {
    out << "local time_zones = {\n";
    for (int32_t i = 0; i < TIME_ZONE_COUNT; ++i)
        out << "    [" << i << "] = " << Quote(TimeZoneDisplayName(i)) << ",\n";
    out << "}\n";
}

struct FieldRow {
    const char* key;    // the field's filter name below zentrive.settings / zentrive.info
    const char* label;  // what the tree shows, with the record's own field name
    size_t offset;
    size_t width;
    const char* kind;  // mac, text, u8, u16, ipv4, tz, bytes
};

#define ZT_FIELD(record, member, key, label, kind)                                          \
    FieldRow {                                                                              \
        key, label " (" #member ")", offsetof(record, member), sizeof(record::member), kind \
    }

void WriteLayout(std::ostringstream& out, const char* name, const std::vector<FieldRow>& rows, size_t size) {
    out << "local " << name << " = {\n    size = " << size << ",\n";
    for (const FieldRow& row : rows) {
        out << "    { key = " << Quote(row.key) << ", label = " << Quote(row.label) << ", offset = " << row.offset
            << ", width = " << row.width << ", kind = " << Quote(row.kind) << " },\n";
    }
    out << "}\n";
}

void WriteRecords(std::ostringstream& out) {
    const uint8_t packet[MAX_PACKET] = {};
    const size_t nPasswordSize = static_cast<size_t>(PayloadLength(PKT_CHECK_PASSWORD, packet));
    WriteLayout(out, "info_layout",
                {
                    ZT_FIELD(DeviceInfo, wState, "state", "State", "u16"),
                    ZT_FIELD(DeviceInfo, bPasswordSet, "password_set", "Password set", "u8"),
                    ZT_FIELD(DeviceInfo, abReserved3, "reserved", "Not interpreted", "bytes"),
                    ZT_FIELD(DeviceInfo, szInfoText, "info_text", "Info text", "text"),
                },
                DEVICE_INFO_SIZE);
    out << "local INFO_SETTINGS_OFFSET = " << DEVICE_INFO_SETTINGS_OFFSET << "\n";
    WriteLayout(out, "settings_layout",
                {
                    ZT_FIELD(DeviceSettings, abMac, "mac", "MAC address", "mac"),
                    ZT_FIELD(DeviceSettings, szServerName, "server_name", "Server name", "text"),
                    ZT_FIELD(DeviceSettings, szNote, "note", "Note", "text"),
                    ZT_FIELD(DeviceSettings, szDate, "date", "Date", "text"),
                    ZT_FIELD(DeviceSettings, szTime, "time", "Time", "text"),
                    ZT_FIELD(DeviceSettings, bFixedIp, "fixed_ip", "Fixed address", "u8"),
                    ZT_FIELD(DeviceSettings, abIpAddress, "ip_address", "IP address", "ipv4"),
                    ZT_FIELD(DeviceSettings, abSubnetMask, "subnet_mask", "Subnet mask", "ipv4"),
                    ZT_FIELD(DeviceSettings, abGateway, "gateway", "Gateway", "ipv4"),
                    ZT_FIELD(DeviceSettings, bDhcpServerOff, "dhcp_server_off", "DHCP server off", "u8"),
                    ZT_FIELD(DeviceSettings, abReserved104, "reserved", "Not interpreted", "bytes"),
                    ZT_FIELD(DeviceSettings, szWorkgroup, "workgroup", "Workgroup", "text"),
                    ZT_FIELD(DeviceSettings, szAuxName, "aux_name", "Auxiliary name", "text"),
                    ZT_FIELD(DeviceSettings, nTimeZone, "time_zone", "Time zone", "tz"),
                    ZT_FIELD(DeviceSettings, abReserved166, "reserved", "Not interpreted", "bytes"),
                    ZT_FIELD(DeviceSettings, abReportedAddress, "reported_address", "Reported address", "ipv4"),
                    ZT_FIELD(DeviceSettings, abReserved195, "reserved", "Not interpreted", "bytes"),
                },
                DEVICE_SETTINGS_SIZE);
    WriteLayout(out, "password_layout",
                {
                    FieldRow{"mac", "MAC address", 0, PASSWORD_MAC_SIZE, "mac"},
                    FieldRow{"password", "Password", PASSWORD_MAC_SIZE, nPasswordSize - PASSWORD_MAC_SIZE, "text"},
                },
                nPasswordSize);
}

void WriteUsb(std::ostringstream& out) {
    out << "local usb_types = {\n";
    for (const TypeName& entry : USB_TYPE_NAMES) out << "    [" << entry.wType << "] = " << Quote(entry.name) << ",\n";
    out << "}\n";
    out << "local USB_PORT = " << USB_SERVICE_PORT << "\n";
    out << "local USB_HEADER_SIZE = " << USB_HEADER_SIZE << "\n";
    out << "local USB_NAME_SIZE = " << USB_NAME_SIZE << "\n";
    out << "local USB_STATUS_IN_USE = " << STATUS_IN_USE << "\n";
}

}  // namespace

std::string GenerateLuaTables(const CStringTable& strings) {
    std::ostringstream out;
    out << LUA_TABLES_BEGIN << " (dissector_tables writes them from the programs' own code)\n";
    out << "local CONFIG_PORT = " << CONFIG_PORT << "\n";
    out << "local HEADER_SIZE = " << PACKET_HEADER_SIZE << "\n";
    out << "local MAX_PACKET = " << MAX_PACKET << "\n";
    for (const TypeName& entry : CONFIG_TYPE_NAMES) out << "local " << entry.name << " = " << entry.wType << "\n";
    WriteCatalogue(out);
    WriteResultCodes(out, strings);
    WriteTimeZones(out);
    WriteRecords(out);
    WriteUsb(out);
    out << LUA_TABLES_END << "\n";
    return out.str();
}
