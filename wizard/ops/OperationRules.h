// The rules of the device operations that do not need a window: subnet test, destinations of each
// attempt, composing the requests, the search's per-tick decision, and wiping secrets from buffers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../link/DeviceSettings.h"
#include "../link/PacketHeader.h"
#include "../link/SecureZero.h"

constexpr uint32_t BROADCAST_ADDRESS = 0xFFFFFFFF;
constexpr int PASSWORD_MAX_LENGTH = 14;

// Dotted text to four octets; false unless it is four decimal numbers 0..255 separated by dots.
bool ParseDottedQuad(const char* pszText, uint8_t (&abOctets)[4]);

// Whether the device (network order) lies in the adapter's subnet; false when there is no adapter or its
// texts do not parse, so that such an appliance is reached by broadcast.
bool IsOnSubnet(const char* pszAdapterAddress, const char* pszAdapterMask, uint32_t dwDevice);

// Set-config attempts go to the appliance when it has an address on the subnet, otherwise by broadcast.
uint32_t SetConfigDestination(bool bOnSubnet, uint32_t dwDevice);

// The password check and the device list page's read. An appliance with an address on the subnet gets every
// attempt: a broadcast would hand the admin password to every host of the segment whenever the first answers
// were lost. Without an address, broadcast; off the subnet, where a unicast may not reach it, the appliance
// for an odd count and broadcast for an even one.
uint32_t RetryDestination(int nRetries, bool bOnSubnet, uint32_t dwDevice);

enum class SearchStep { Resend, NextInterface, Finish };
SearchStep NextSearchStep(int nRetries, int nLocalAddressCount, int nNextBindIndex);

// Clears the packet and puts the record with the appliance's MAC over its first 6 bytes in the payload.
void ComposeSetConfig(uint8_t (&packet)[MAX_PACKET], const DeviceSettings& settings, const uint8_t (&abMac)[6]);

// Clears the packet and puts the MAC and at most 14 characters of the password, NUL-terminated.
void ComposeCheckPassword(uint8_t (&packet)[MAX_PACKET], const uint8_t (&abMac)[6], const char* pszPassword);
