// Port-917 USB-disk records from the appliance's side.
#include "UsbPacket.h"

#include "ByteReader.h"
#include "TextFormat.h"

#include <cstring>

bool ParseUsbRequest(const uint8_t* data, size_t size, UsbRequest* request, std::string* reason) {
    if (size < HEADER_SIZE) {
        *reason = "shorter than the 8-byte header";
        return false;
    }
    CByteReader reader(data, size);
    request->wType = reader.ReadU16();
    uint16_t status = reader.ReadU16();
    reader.ReadU16();
    request->wLength = reader.ReadU16();
    if (status != 0) {
        *reason = "nonzero wStatus: a reply, not a request";
        return false;
    }
    if (request->wType == PKT_DISK_INFO) {
        if (request->wLength != 0) {
            *reason = "type 32 with wLength " + std::to_string(request->wLength) + ": a notice or a reply";
            return false;
        }
        return true;
    }
    if (request->wType == PKT_EJECT) {
        if (request->wLength != USB_NAME_SIZE || reader.Remaining() < USB_NAME_SIZE) {
            *reason = "eject request without its 256-byte name";
            return false;
        }
        request->serverName = reader.ReadText(USB_NAME_SIZE);
        return reader.Ok();
    }
    *reason = "type " + std::to_string(request->wType) + " is not a request";
    return false;
}

Bytes BuildUsbPacket(uint16_t type, uint16_t status, const std::string& name) {
    Bytes packet(USB_PACKET_SIZE, 0);
    const uint16_t fields[4] = {type, status, 0, static_cast<uint16_t>(USB_NAME_SIZE)};
    for (int i = 0; i < 4; ++i) {
        packet[i * 2] = static_cast<uint8_t>(fields[i]);
        packet[i * 2 + 1] = static_cast<uint8_t>(fields[i] >> 8);
    }
    size_t n = name.size() < USB_NAME_SIZE ? name.size() : USB_NAME_SIZE - 1;
    memcpy(packet.data() + HEADER_SIZE, name.data(), n);
    return packet;
}

const char* UsbTypeName(uint16_t type) {
    return NameOfType(type, {{PKT_DISK_INFO, "PKT_DISK_INFO"},
                             {PKT_EJECTED, "PKT_EJECTED"},
                             {PKT_REMOVED, "PKT_REMOVED"},
                             {PKT_EJECT, "PKT_EJECT"},
                             {PKT_WRONG_PORT, "PKT_WRONG_PORT"}});
}

std::string DescribeUsbPacket(const uint8_t* data, size_t size) {
    if (size < HEADER_SIZE) return "{\"truncated\":" + std::to_string(size) + "}";
    CByteReader reader(data, size);
    uint16_t type = reader.ReadU16();
    uint16_t status = reader.ReadU16();
    uint16_t reserved = reader.ReadU16();
    uint16_t length = reader.ReadU16();
    std::string out = "{\"wType\":" + std::to_string(type) + ",\"name\":\"" + UsbTypeName(type) +
                      "\",\"wStatus\":" + std::to_string(status) + ",\"wReserved\":" + std::to_string(reserved) +
                      ",\"wLength\":" + std::to_string(length);
    if (size > HEADER_SIZE) {
        size_t width = size - HEADER_SIZE < USB_NAME_SIZE ? size - HEADER_SIZE : USB_NAME_SIZE;
        out += ",\"szName\":" + JsonString(reader.ReadText(width));
    }
    out += "}";
    return out;
}

std::string ServerPart(const std::string& path) {
    std::string rest = path;
    size_t unc = rest.find("\\\\");
    if (unc != std::string::npos) rest = rest.substr(unc + 2);
    size_t slash = rest.find('\\');
    if (slash != std::string::npos) rest = rest.substr(0, slash);
    return rest;
}
