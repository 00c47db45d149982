// Text forms used by the configuration file, the control channel and the log: dotted IPv4 addresses
// (host byte order in memory), MAC addresses (the core's), JSON strings, hex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "MacText.h"  // MAC addresses: ParseMac, FormatMac

bool ParseAddress(const std::string& text, uint32_t* address);
std::string FormatAddress(uint32_t address);
std::string FormatEndpoint(uint32_t address, uint16_t port);

// A JSON string literal, quotes included; bytes outside printable ASCII are escaped as \u00XX so that
// text fields of any content stay valid JSON.
std::string JsonString(const std::string& text);

bool ParseInt(const std::string& text, long min, long max, long* value);
std::vector<std::string> SplitWords(const std::string& line);

// Renders a byte range as lower-case hex, and back; FromHex fails on odd length or a non-hex character.
std::string ToHex(const uint8_t* data, size_t size);
bool FromHex(const std::string& text, std::string* bytes);

// The name of a packet type out of a short table, "unknown" for a type it does not hold.
struct TypeName {
    uint16_t type;
    const char* name;
};
const char* NameOfType(uint16_t type, std::initializer_list<TypeName> names);
