// Byte images of the USB-disk service record and the bounded reading of received datagrams.
#include "UsbPacket.h"

#include "ByteReader.h"

#include <algorithm>
#include <cstring>

namespace {

void PutU16(UsbPacketImage& image, size_t offset, uint16_t value) {
    image[offset] = static_cast<uint8_t>(value & 0xFF);
    image[offset + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

UsbDiscoveryImage BuildDiscoveryRequest() {
    UsbDiscoveryImage image{};
    image[0] = static_cast<uint8_t>(PKT_DISK_INFO);
    return image;
}

UsbPacketImage BuildEjectRequest(const std::string& serverName) {
    UsbPacket packet{};
    packet.wType = PKT_EJECT;
    packet.wLength = static_cast<uint16_t>(USB_NAME_SIZE);
    std::memcpy(packet.szName, serverName.data(), std::min(serverName.size(), USB_NAME_SIZE - 1));
    return SerializeUsbPacket(packet);
}

UsbPacketImage SerializeUsbPacket(const UsbPacket& packet) {
    UsbPacketImage image{};
    PutU16(image, 0, packet.wType);
    PutU16(image, 2, packet.wStatus);
    PutU16(image, 4, packet.wReserved);
    PutU16(image, 6, packet.wLength);
    std::memcpy(image.data() + USB_HEADER_SIZE, packet.szName, USB_NAME_SIZE);
    return image;
}

UsbPacket ParseUsbPacket(const uint8_t* data, size_t len) {
    // A short datagram is read as its zero-padded image, so every field has a defined value.
    UsbPacketImage image{};
    if (data != nullptr) std::memcpy(image.data(), data, std::min(len, USB_PACKET_SIZE));
    CByteReader reader(image.data(), image.size());
    UsbPacket packet{};
    packet.wType = reader.ReadU16();
    packet.wStatus = reader.ReadU16();
    packet.wReserved = reader.ReadU16();
    packet.wLength = reader.ReadU16();
    reader.ReadBytes(packet.szName, USB_NAME_SIZE);
    packet.szName[USB_NAME_SIZE - 1] = '\0';
    return packet;
}

std::string UsbPacketName(const UsbPacket& packet) {
    const void* nul = std::memchr(packet.szName, '\0', USB_NAME_SIZE);
    size_t len = nul ? static_cast<size_t>(static_cast<const char*>(nul) - packet.szName) : USB_NAME_SIZE;
    return std::string(packet.szName, len);
}

void ServerOfPath(std::string path, std::string& server) {
    size_t start = path.find("\\\\");
    if (start != std::string::npos) path.erase(0, start + 2);
    size_t end = path.find('\\');
    if (end != std::string::npos) path.erase(end);
    server = path;
}

std::string FormatIPv4(uint32_t networkOrderAddress) {
    uint8_t b[4];
    std::memcpy(b, &networkOrderAddress, sizeof b);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}
