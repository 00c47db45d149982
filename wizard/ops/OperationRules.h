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

// Set-config attempts go to the appliance when the retries left are odd and it is on the subnet.
uint32_t SetConfigDestination(int nRetries, bool bOnSubnet, uint32_t dwDevice);

// Password check: the appliance (broadcast when it has no address) for an odd count, broadcast for even.
uint32_t PasswordDestination(int nRetries, uint32_t dwDevice);

enum class SearchStep { Resend, NextInterface, Finish };
SearchStep NextSearchStep(int nRetries, int nLocalAddressCount, int nNextBindIndex);

// Clears the packet and puts the record with the appliance's MAC over its first 6 bytes in the payload.
void ComposeSetConfig(uint8_t (&packet)[MAX_PACKET], const DeviceSettings& settings, const uint8_t (&abMac)[6]);

// Clears the packet and puts the MAC and at most 14 characters of the password, NUL-terminated.
void ComposeCheckPassword(uint8_t (&packet)[MAX_PACKET], const uint8_t (&abMac)[6], const char* pszPassword);
