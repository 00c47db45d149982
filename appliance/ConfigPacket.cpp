// Port-915 packets from the appliance's side: request parsing, reply building, decoding for the log.
#include "ConfigPacket.h"

#include "ByteReader.h"
#include "TextFormat.h"

#include <cstring>

bool IsUninterpretedSettingsByte(size_t offset) {
    return (offset >= 104 && offset < 113) || (offset >= 166 && offset < 191) ||
           (offset >= 195 && offset < DEVICE_SETTINGS_SIZE);
}

uint8_t UninterpretedFill(size_t offset) {
    uint8_t v = static_cast<uint8_t>(0x80 + offset);
    return v ? v : 0x5a;
}

std::string GetText(const SettingsRecord& record, const TextField& field) {
    CByteReader reader(record.data() + field.offset, field.width);
    return reader.ReadText(field.width);
}

void SetText(SettingsRecord& record, const TextField& field, const std::string& text) {
    size_t n = text.size() < field.width ? text.size() : field.width - 1;
    memset(record.data() + field.offset, 0, field.width);
    memcpy(record.data() + field.offset, text.data(), n);
}

void FillUnterminated(uint8_t* field, size_t width, char first) {
    for (size_t i = 0; i < width; ++i) field[i] = static_cast<uint8_t>(first + i % 26);
}

uint32_t GetAddressField(const SettingsRecord& record, size_t offset) {
    const uint8_t* p = record.data() + offset;
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void SetAddressField(SettingsRecord& record, size_t offset, uint32_t address) {
    uint8_t* p = record.data() + offset;
    p[0] = static_cast<uint8_t>(address >> 24);
    p[1] = static_cast<uint8_t>(address >> 16);
    p[2] = static_cast<uint8_t>(address >> 8);
    p[3] = static_cast<uint8_t>(address);
}

int32_t GetTimeZone(const SettingsRecord& record) {
    CByteReader reader(record.data() + Settings::nTimeZone, 4);
    return reader.ReadI32();
}

void SetTimeZone(SettingsRecord& record, int32_t zone) {
    uint32_t v = static_cast<uint32_t>(zone);
    for (int i = 0; i < 4; ++i) record[Settings::nTimeZone + i] = static_cast<uint8_t>(v >> (8 * i));
}

PacketHeader ReadHeader(const uint8_t* data, size_t size) {
    CByteReader reader(data, size);
    PacketHeader h;
    h.wType = reader.ReadU16();
    h.wStatus = reader.ReadI16();
    h.wSequence = reader.ReadU16();
    h.wLength = reader.ReadU16();
    return h;
}

void WriteHeader(Bytes& packet, const PacketHeader& header) {
    if (packet.size() < HEADER_SIZE) packet.resize(HEADER_SIZE);
    const uint16_t fields[4] = {header.wType, static_cast<uint16_t>(header.wStatus), header.wSequence, header.wLength};
    for (int i = 0; i < 4; ++i) {
        packet[i * 2] = static_cast<uint8_t>(fields[i]);
        packet[i * 2 + 1] = static_cast<uint8_t>(fields[i] >> 8);
    }
}

Bytes BuildConfigPacket(uint16_t type, int16_t status, uint16_t sequence, const uint8_t* payload, size_t size) {
    Bytes packet(HEADER_SIZE + size);
    WriteHeader(packet, {type, status, sequence, static_cast<uint16_t>(size)});
    if (size) memcpy(packet.data() + HEADER_SIZE, payload, size);
    return packet;
}

Bytes BuildDeviceInfo(const DeviceInfoFields& fields) {
    Bytes info(DEVICE_INFO_SIZE, 0);
    info[Info::wState] = static_cast<uint8_t>(fields.wState);
    info[Info::wState + 1] = static_cast<uint8_t>(fields.wState >> 8);
    info[Info::bPasswordSet] = fields.bPasswordSet;
    info[Info::reserved] = UninterpretedFill(200);
    info[Info::reserved + 1] = UninterpretedFill(201);
    size_t n = fields.infoText.size() < Info::szInfoText.width ? fields.infoText.size() : Info::szInfoText.width - 1;
    memcpy(info.data() + Info::szInfoText.offset, fields.infoText.data(), n);
    memcpy(info.data() + Info::settings, fields.settings.data(), DEVICE_SETTINGS_SIZE);
    return info;
}

static size_t PayloadLength(uint16_t type) {
    switch (type) {
        case PKT_GET_INFO:
            return 0;
        case PKT_SET_CONFIG:
            return DEVICE_SETTINGS_SIZE;
        case PKT_CHECK_PASSWORD:
            return CHECK_PASSWORD_SIZE;
        default:
            return SIZE_MAX;
    }
}

bool ParseConfigRequest(const uint8_t* data, size_t size, ConfigRequest* request, std::string* reason) {
    if (size < HEADER_SIZE) {
        *reason = "shorter than the 8-byte header";
        return false;
    }
    CByteReader reader(data, size);
    PacketHeader& h = request->header;
    h.wType = reader.ReadU16();
    h.wStatus = reader.ReadI16();
    h.wSequence = reader.ReadU16();
    h.wLength = reader.ReadU16();
    size_t expected = PayloadLength(h.wType);
    if (expected == SIZE_MAX) {
        *reason = "type " + std::to_string(h.wType) + " is not served";
        return false;
    }
    if (h.wStatus != 0) {
        *reason = "nonzero wStatus: a reply, not a request";
        return false;
    }
    if (h.wLength != expected) {
        *reason = "wLength " + std::to_string(h.wLength) + " for type " + std::to_string(h.wType) + ", expected " +
                  std::to_string(expected);
        return false;
    }
    if (reader.Remaining() < expected) {
        *reason =
            "payload of " + std::to_string(reader.Remaining()) + " bytes, wLength says " + std::to_string(expected);
        return false;
    }
    if (h.wType == PKT_SET_CONFIG) {
        reader.ReadBytes(request->settings.data(), DEVICE_SETTINGS_SIZE);
        memcpy(request->mac, request->settings.data() + Settings::abMac, 6);
    } else if (h.wType == PKT_CHECK_PASSWORD) {
        reader.ReadBytes(request->mac, 6);
        uint8_t field[PASSWORD_FIELD];
        reader.ReadBytes(field, PASSWORD_FIELD);
        const void* nul = memchr(field, 0, PASSWORD_FIELD);
        request->passwordTerminated = nul != nullptr;
        size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - field) : PASSWORD_FIELD;
        request->password.assign(reinterpret_cast<const char*>(field), n);
    }
    if (!reader.Ok()) {
        *reason = "truncated payload";
        return false;
    }
    return true;
}

const char* ConfigTypeName(uint16_t type) {
    return NameOfType(type, {{PKT_GET_INFO, "PKT_GET_INFO"},
                             {PKT_SET_CONFIG, "PKT_SET_CONFIG"},
                             {PKT_CHECK_PASSWORD, "PKT_CHECK_PASSWORD"}});
}

static std::string AddressAt(const uint8_t* p) {
    return FormatAddress((uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]);
}

std::string DescribeSettings(const uint8_t* record, size_t size) {
    if (size < DEVICE_SETTINGS_SIZE) return "{\"truncated\":" + std::to_string(size) + "}";
    SettingsRecord r;
    memcpy(r.data(), record, DEVICE_SETTINGS_SIZE);
    std::string out = "{\"abMac\":" + JsonString(FormatMac(r.data()));
    for (const TextField& f : Settings::textFields)
        out += std::string(",\"") + f.name + "\":" + JsonString(GetText(r, f));
    out += ",\"bFixedIp\":" + std::to_string(r[Settings::bFixedIp]);
    out += ",\"abIpAddress\":" + JsonString(AddressAt(r.data() + Settings::abIpAddress));
    out += ",\"abSubnetMask\":" + JsonString(AddressAt(r.data() + Settings::abSubnetMask));
    out += ",\"abGateway\":" + JsonString(AddressAt(r.data() + Settings::abGateway));
    out += ",\"bDhcpServerOff\":" + std::to_string(r[Settings::bDhcpServerOff]);
    out += ",\"nTimeZone\":" + std::to_string(GetTimeZone(r));
    out += ",\"abReportedAddress\":" + JsonString(AddressAt(r.data() + Settings::abReportedAddress));
    out += "}";
    return out;
}

std::string DescribeConfigPacket(const uint8_t* data, size_t size) {
    if (size < HEADER_SIZE) return "{\"truncated\":" + std::to_string(size) + "}";
    PacketHeader h = ReadHeader(data, size);
    std::string out = "{\"wType\":" + std::to_string(h.wType) + ",\"name\":\"" + ConfigTypeName(h.wType) +
                      "\",\"wStatus\":" + std::to_string(h.wStatus) + ",\"wSequence\":" + std::to_string(h.wSequence) +
                      ",\"wLength\":" + std::to_string(h.wLength);
    const uint8_t* payload = data + HEADER_SIZE;
    size_t n = size - HEADER_SIZE;
    if (h.wType == PKT_GET_INFO && n > 0) {
        CByteReader reader(payload, n);
        uint16_t state = reader.ReadU16();
        uint8_t passwordSet = reader.ReadU8();
        reader.Skip(2);
        std::string text = reader.ReadText(Info::szInfoText.width);
        if (reader.Ok()) {
            out += ",\"wState\":" + std::to_string(state) + ",\"bPasswordSet\":" + std::to_string(passwordSet) +
                   ",\"szInfoText\":" + JsonString(text) +
                   ",\"settings\":" + DescribeSettings(payload + Info::settings, n - Info::settings);
        } else {
            out += ",\"truncated\":" + std::to_string(n);
        }
    } else if (h.wType == PKT_SET_CONFIG && n > 0) {
        out += ",\"settings\":" + DescribeSettings(payload, n);
    } else if (h.wType == PKT_CHECK_PASSWORD && n > 0) {
        CByteReader reader(payload, n);
        uint8_t mac[6];
        reader.ReadBytes(mac, 6);
        std::string password = reader.ReadText(PASSWORD_FIELD);
        if (reader.Ok())
            out += ",\"mac\":" + JsonString(FormatMac(mac)) + ",\"password\":" + JsonString(password);
        else
            out += ",\"truncated\":" + std::to_string(n);
    }
    out += "}";
    return out;
}
