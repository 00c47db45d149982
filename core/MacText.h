// A MAC address as people type and read it: six hex pairs. Shared by the simulator's configuration and the
// administrators' tool, so that an address written for one is read alike by the other. Portable.
#pragma once

#include <cstdint>
#include <string>

// Six hex pairs of either case, separated by ':' or '-'. Leaves mac untouched when text is not one.
bool ParseMac(const std::string& text, uint8_t mac[6]);
// Six lower-case hex pairs separated by ':'.
std::string FormatMac(const uint8_t mac[6]);
