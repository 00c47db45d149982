// The 254-byte payload of a PKT_GET_INFO reply: state, password flag, info text and the settings record.
#pragma once

#include "DeviceSettings.h"

#pragma pack(push, 1)
struct DeviceInfo {
    uint16_t wState;  // a search ignores state 1
    uint8_t bPasswordSet;
    uint8_t abReserved3[2];
    char szInfoText[15];
    DeviceSettings settings;
};
#pragma pack(pop)

constexpr size_t DEVICE_INFO_SIZE = 254;
constexpr size_t DEVICE_INFO_SETTINGS_OFFSET = 20;

static_assert(sizeof(DeviceInfo) == DEVICE_INFO_SIZE);
static_assert(offsetof(DeviceInfo, wState) == 0);
static_assert(offsetof(DeviceInfo, bPasswordSet) == 2);
static_assert(offsetof(DeviceInfo, abReserved3) == 3);
static_assert(offsetof(DeviceInfo, szInfoText) == 5);
static_assert(offsetof(DeviceInfo, settings) == DEVICE_INFO_SETTINGS_OFFSET);
