// MAC and IPv4 addresses as an administrator types and reads them. IPv4 addresses are u32 in network order.
#pragma once

#include <cstdint>
#include <string>

// Six hex pairs separated by ':' or '-'.
bool ParseMac(const std::string& text, uint8_t (&abMac)[6]);
// Six lower-case hex pairs separated by ':'.
std::string FormatMac(const uint8_t (&abMac)[6]);
// Dotted decimal, as the wizard's pages show addresses.
std::string FormatAddress(uint32_t address);
