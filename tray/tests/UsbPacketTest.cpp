// Byte images of the USB-disk service record, the reading of received datagrams, and ServerOfPath.
#include "../UsbPacket.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

std::vector<uint8_t> Datagram(uint16_t type, uint16_t status, uint16_t length, const std::string& name,
                              size_t total = USB_PACKET_SIZE) {
    std::vector<uint8_t> d(total, 0);
    std::vector<uint8_t> header =
        Bytes({type & 0xFF, type >> 8, status & 0xFF, status >> 8, 0, 0, length & 0xFF, length >> 8});
    std::copy(header.begin(), header.begin() + static_cast<long>(std::min<size_t>(8, total)), d.begin());
    for (size_t i = 0; i < name.size() && 8 + i < total; i++) d[8 + i] = static_cast<uint8_t>(name[i]);
    return d;
}

}  // namespace

TEST(UsbPacketImage, DiscoveryRequestIsTheBareHeader) {
    UsbDiscoveryImage image = BuildDiscoveryRequest();
    EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.end()), Bytes({0x20, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(UsbPacketImage, EjectRequestCarriesTheServerNameZeroPadded) {
    UsbPacketImage image = BuildEjectRequest("NAS1");
    ASSERT_EQ(image.size(), 264u);
    EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.begin() + 8), Bytes({0x23, 0, 0, 0, 0, 0, 0, 0x01}));
    EXPECT_EQ(0, std::memcmp(image.data() + 8, "NAS1", 4));
    for (size_t i = 12; i < image.size(); i++) ASSERT_EQ(image[i], 0) << "byte " << i;
}

TEST(UsbPacketImage, OverlongServerNameKeepsItsTerminator) {
    UsbPacketImage image = BuildEjectRequest(std::string(300, 'S'));
    for (size_t i = 8; i < 8 + 255; i++) ASSERT_EQ(image[i], 'S') << "byte " << i;
    EXPECT_EQ(image[263], 0);
}

TEST(UsbPacketImage, FieldsAreLittleEndianBothWays) {
    UsbPacket p{};
    p.wType = 0x1234;
    p.wStatus = STATUS_IN_USE;
    p.wReserved = 0xABCD;
    p.wLength = 0x0100;
    std::strcpy(p.szName, "\\\\NAS1\\usb");
    UsbPacketImage image = SerializeUsbPacket(p);
    EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.begin() + 8),
              Bytes({0x34, 0x12, 0xFF, 0xFF, 0xCD, 0xAB, 0x00, 0x01}));
    UsbPacket back = ParseUsbPacket(image.data(), image.size());
    EXPECT_EQ(back.wType, 0x1234);
    EXPECT_EQ(back.wStatus, STATUS_IN_USE);
    EXPECT_EQ(back.wReserved, 0xABCD);
    EXPECT_EQ(back.wLength, 0x0100);
    EXPECT_EQ(UsbPacketName(back), "\\\\NAS1\\usb");
}

TEST(UsbPacketParse, ShortDatagramsCountAsZeroPadded) {
    std::vector<uint8_t> full = Datagram(PKT_DISK_INFO, 0, 256, "\\\\NAS1\\usb");
    // Six bytes or fewer: no length at all.
    EXPECT_EQ(ParseUsbPacket(full.data(), 6).wLength, 0);
    EXPECT_EQ(ParseUsbPacket(full.data(), 6).wType, PKT_DISK_INFO);
    // Seven bytes: only the low byte of the length.
    std::vector<uint8_t> seven = Datagram(PKT_DISK_INFO, 0, 0x0201, "");
    EXPECT_EQ(ParseUsbPacket(seven.data(), 7).wLength, 0x01);
    // Eight bytes: the header, and an empty name.
    UsbPacket eight = ParseUsbPacket(full.data(), 8);
    EXPECT_EQ(eight.wLength, 256);
    EXPECT_EQ(UsbPacketName(eight), "");
    // A name cut off by the end of the datagram.
    EXPECT_EQ(UsbPacketName(ParseUsbPacket(full.data(), 12)), "\\\\NA");
    // Nothing at all.
    UsbPacket none = ParseUsbPacket(nullptr, 0);
    EXPECT_EQ(none.wType, 0);
    EXPECT_EQ(UsbPacketName(none), "");
}

TEST(UsbPacketParse, OnlyTheFirst264BytesCount) {
    std::vector<uint8_t> big = Datagram(PKT_EJECTED, 0, 256, "\\\\NAS2\\disk", USB_RECEIVE_SIZE);
    std::fill(big.begin() + 264, big.end(), 'X');
    UsbPacket p = ParseUsbPacket(big.data(), big.size());
    EXPECT_EQ(p.wType, PKT_EJECTED);
    EXPECT_EQ(UsbPacketName(p), "\\\\NAS2\\disk");
}

TEST(UsbPacketParse, NameWithoutTerminatorStaysInsideItsField) {
    std::vector<uint8_t> d = Datagram(PKT_DISK_INFO, 0, 256, std::string(256, 'N'), USB_RECEIVE_SIZE);
    std::fill(d.begin() + 264, d.end(), 'X');
    UsbPacket p = ParseUsbPacket(d.data(), d.size());
    EXPECT_EQ(std::strlen(p.szName), 255u);
    EXPECT_EQ(UsbPacketName(p), std::string(255, 'N'));

    // A record filled by hand without any NUL is still read only within its 256 bytes.
    UsbPacket raw{};
    std::memset(raw.szName, 'R', sizeof raw.szName);
    EXPECT_EQ(UsbPacketName(raw), std::string(256, 'R'));
}

TEST(UsbPacketParse, NameStopsAtItsFirstNul) {
    std::vector<uint8_t> d = Datagram(PKT_DISK_INFO, 0, 256, std::string("\\\\A\\b\0junk", 10));
    EXPECT_EQ(UsbPacketName(ParseUsbPacket(d.data(), d.size())), "\\\\A\\b");
}

TEST(ServerOfPath, TakesTheServerPartOfUncPaths) {
    struct Case {
        const char* path;
        const char* server;
    } cases[] = {
        {"\\\\SRV\\disk", "SRV"},
        {"\\\\NAS1\\usb", "NAS1"},
        {"\\\\SRV", "SRV"},
        {"NAS1\\usb", "NAS1"},
        {"NAS1", "NAS1"},
        {"", ""},
        {"\\\\", ""},
        {"\\disk", ""},
        {"x\\\\SRV\\disk\\sub", "SRV"},
        {"\\\\\\SRV", ""},
        {"\\\\srv\\Disk", "srv"},
    };
    for (const Case& c : cases) {
        std::string server = "stale";
        ServerOfPath(c.path, server);
        EXPECT_EQ(server, c.server) << "path " << c.path;
    }
}

TEST(FormatIPv4, WritesTheBytesInNetworkOrder) {
    const uint8_t a[4] = {198, 18, 2, 10};
    uint32_t address;
    std::memcpy(&address, a, 4);
    EXPECT_EQ(FormatIPv4(address), "198.18.2.10");
    EXPECT_EQ(FormatIPv4(0), "0.0.0.0");
    EXPECT_EQ(FormatIPv4(0xFFFFFFFFu), "255.255.255.255");
}
