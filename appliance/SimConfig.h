// The simulator's configuration file: INI-like sections, one per appliance, and a "[*]" section of
// defaults for all of them, including the appliances made for the host's spare addresses (--auto).
#pragma once

#include "Appliance.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct ConfigSection {
    std::string name;
    int line = 0;
    std::vector<std::pair<std::string, std::string>> settings;
};

bool ParseConfigText(const std::string& text, std::vector<ConfigSection>* sections, std::string* error);

// The host's subnet of an address, so that an appliance's default mask and gateway match its interface.
using PrefixLengths = std::map<uint32_t, int>;

// Builds the configured appliances, then one for each address of autoAddresses that no section claims
// (named ZT<octet3><octet4>, e.g. ZT001010 for 198.18.1.10).
bool BuildAppliances(const std::vector<ConfigSection>& sections, const std::vector<uint32_t>& autoAddresses,
                     std::vector<Appliance>* appliances, std::string* error,
                     const PrefixLengths& prefixes = PrefixLengths());

std::string AutoName(uint32_t address);
