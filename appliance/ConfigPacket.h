// The appliance's side of the port-915 configuration service: packet header, the requests it answers,
// the DeviceInfo and DeviceSettings layouts, and a decoder for the log. Written from the byte layouts
// alone; it shares nothing with the wizard's code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

constexpr uint16_t CONFIG_PORT = 915;
constexpr size_t MAX_PACKET = 1031;
constexpr size_t HEADER_SIZE = 8;

constexpr uint16_t PKT_GET_INFO = 16;
constexpr uint16_t PKT_SET_CONFIG = 17;
constexpr uint16_t PKT_CHECK_PASSWORD = 19;

constexpr size_t DEVICE_INFO_SIZE = 254;
constexpr size_t DEVICE_SETTINGS_SIZE = 234;
constexpr size_t CHECK_PASSWORD_SIZE = 21;
constexpr size_t PASSWORD_FIELD = 15;

constexpr int16_t STATUS_OK = 0;
constexpr int16_t STATUS_WRONG_PASSWORD = -305;

struct PacketHeader {
    uint16_t wType = 0;
    int16_t wStatus = 0;
    uint16_t wSequence = 0;
    uint16_t wLength = 0;
};

using SettingsRecord = std::array<uint8_t, DEVICE_SETTINGS_SIZE>;

struct TextField {
    const char* name;
    size_t offset;
    size_t width;
};

// Field offsets inside DeviceSettings.
namespace Settings {
constexpr size_t abMac = 0;
constexpr TextField szServerName{"szServerName", 6, 15};
constexpr TextField szNote{"szNote", 21, 49};
constexpr TextField szDate{"szDate", 70, 11};
constexpr TextField szTime{"szTime", 81, 9};
constexpr size_t bFixedIp = 90;
constexpr size_t abIpAddress = 91;
constexpr size_t abSubnetMask = 95;
constexpr size_t abGateway = 99;
constexpr size_t bDhcpServerOff = 103;
constexpr TextField szWorkgroup{"szWorkgroup", 113, 16};
constexpr TextField szAuxName{"szAuxName", 129, 33};
constexpr size_t nTimeZone = 162;
constexpr size_t abReportedAddress = 191;
constexpr TextField textFields[] = {szServerName, szNote, szDate, szTime, szWorkgroup, szAuxName};
}  // namespace Settings

// Field offsets inside DeviceInfo (the PKT_GET_INFO reply payload).
namespace Info {
constexpr size_t wState = 0;
constexpr size_t bPasswordSet = 2;
constexpr size_t reserved = 3;  // two bytes the wizard does not interpret
constexpr TextField szInfoText{"szInfoText", 5, 15};
constexpr size_t settings = 20;
}  // namespace Info

// True for the bytes of DeviceSettings that carry no named field.
bool IsUninterpretedSettingsByte(size_t offset);
// The recognisable value the simulator keeps in such a byte, so that a round trip that loses or moves
// one shows; never zero.
uint8_t UninterpretedFill(size_t offset);

std::string GetText(const SettingsRecord& record, const TextField& field);
// Stores at most width-1 characters and zero-pads, so the field stays terminated.
void SetText(SettingsRecord& record, const TextField& field, const std::string& text);
// Fills the whole field with characters and no terminator (a fault the wizard must survive).
void FillUnterminated(uint8_t* field, size_t width, char first);
uint32_t GetAddressField(const SettingsRecord& record, size_t offset);
void SetAddressField(SettingsRecord& record, size_t offset, uint32_t address);
int32_t GetTimeZone(const SettingsRecord& record);
void SetTimeZone(SettingsRecord& record, int32_t zone);

struct ConfigRequest {
    PacketHeader header;
    SettingsRecord settings{};        // PKT_SET_CONFIG
    uint8_t mac[6] = {};              // PKT_SET_CONFIG (abMac) and PKT_CHECK_PASSWORD
    std::string password;             // PKT_CHECK_PASSWORD
    bool passwordTerminated = false;  // a NUL within the 15-byte field
};

// Reads a datagram received on port 915 as a request. Fails, with the reason, for anything the appliance
// does not answer: short datagrams, a nonzero status (replies of other appliances carry one), unknown types,
// a wLength other than the type's payload length, a payload shorter than wLength.
bool ParseConfigRequest(const uint8_t* data, size_t size, ConfigRequest* request, std::string* reason);

PacketHeader ReadHeader(const uint8_t* data, size_t size);
void WriteHeader(Bytes& packet, const PacketHeader& header);
Bytes BuildConfigPacket(uint16_t type, int16_t status, uint16_t sequence, const uint8_t* payload, size_t size);

struct DeviceInfoFields {
    uint16_t wState = 0;
    uint8_t bPasswordSet = 0;
    std::string infoText;
    SettingsRecord settings{};
};
Bytes BuildDeviceInfo(const DeviceInfoFields& fields);

// JSON object with the header and the payload fields of a port-915 datagram, bounded by its size.
std::string DescribeConfigPacket(const uint8_t* data, size_t size);
std::string DescribeSettings(const uint8_t* record, size_t size);
const char* ConfigTypeName(uint16_t type);
