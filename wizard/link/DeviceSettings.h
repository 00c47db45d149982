// The appliance's 234-byte settings record exactly as it travels on the wire (inside the info reply and as
// the set-config payload). Fields the wizard does not interpret are carried back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct DeviceSettings {
    uint8_t abMac[6];
    char szServerName[15];
    char szNote[49];
    char szDate[11];  // MM/DD/YYYY
    char szTime[9];   // HH:MM:SS
    uint8_t bFixedIp;
    uint8_t abIpAddress[4];  // dotted order
    uint8_t abSubnetMask[4];
    uint8_t abGateway[4];
    uint8_t bDhcpServerOff;
    uint8_t abReserved104[9];
    char szWorkgroup[16];
    char szAuxName[33];
    int32_t nTimeZone;  // index into the 63 time-zone names
    uint8_t abReserved166[25];
    uint8_t abReportedAddress[4];  // abIpAddress as the appliance sent it
    uint8_t abReserved195[39];
};
#pragma pack(pop)

constexpr size_t DEVICE_SETTINGS_SIZE = 234;

static_assert(sizeof(DeviceSettings) == DEVICE_SETTINGS_SIZE);
static_assert(offsetof(DeviceSettings, abMac) == 0);
static_assert(offsetof(DeviceSettings, szServerName) == 6);
static_assert(offsetof(DeviceSettings, szNote) == 21);
static_assert(offsetof(DeviceSettings, szDate) == 70);
static_assert(offsetof(DeviceSettings, szTime) == 81);
static_assert(offsetof(DeviceSettings, bFixedIp) == 90);
static_assert(offsetof(DeviceSettings, abIpAddress) == 91);
static_assert(offsetof(DeviceSettings, abSubnetMask) == 95);
static_assert(offsetof(DeviceSettings, abGateway) == 99);
static_assert(offsetof(DeviceSettings, bDhcpServerOff) == 103);
static_assert(offsetof(DeviceSettings, abReserved104) == 104);
static_assert(offsetof(DeviceSettings, szWorkgroup) == 113);
static_assert(offsetof(DeviceSettings, szAuxName) == 129);
static_assert(offsetof(DeviceSettings, nTimeZone) == 162);
static_assert(offsetof(DeviceSettings, abReserved166) == 166);
static_assert(offsetof(DeviceSettings, abReportedAddress) == 191);
static_assert(offsetof(DeviceSettings, abReserved195) == 195);
