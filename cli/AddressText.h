// MAC (the core's) and IPv4 addresses as an administrator types and reads them. IPv4 addresses are u32 in
// network order.
#pragma once

#include <cstdint>
#include <string>

#include "MacText.h"  // MAC addresses: ParseMac, FormatMac

// Dotted decimal, as the wizard's pages show addresses.
std::string FormatAddress(uint32_t address);
