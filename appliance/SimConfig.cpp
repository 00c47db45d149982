// Reading the configuration file and building the appliances from it.
#include "SimConfig.h"

#include "TextFormat.h"

#include <cstdio>
#include <set>

static std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool ParseConfigText(const std::string& text, std::vector<ConfigSection>* sections, std::string* error) {
    std::vector<ConfigSection> out;
    int lineNo = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3) {
                *error = "line " + std::to_string(lineNo) + ": a section header is [name]";
                return false;
            }
            ConfigSection section;
            section.name = Trim(line.substr(1, line.size() - 2));
            section.line = lineNo;
            out.push_back(section);
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            *error = "line " + std::to_string(lineNo) + ": expected key = value";
            return false;
        }
        if (out.empty()) {
            *error = "line " + std::to_string(lineNo) + ": a setting before the first [section]";
            return false;
        }
        out.back().settings.emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
    *sections = out;
    return true;
}

std::string AutoName(uint32_t address) {
    char buf[16];
    snprintf(buf, sizeof buf, "ZT%03u%03u", (address >> 8) & 255, address & 255);
    return buf;
}

static bool Build(const std::string& name, uint32_t address, const PrefixLengths& prefixes,
                  const ConfigSection* defaults, const ConfigSection* own, Appliance* out, std::string* error) {
    Appliance a = MakeAppliance(name, address);
    auto prefix = prefixes.find(address);
    if (prefix != prefixes.end() && prefix->second > 0 && prefix->second < 31) {
        uint32_t mask = ~0u << (32 - prefix->second);
        SetAddressField(a.record, Settings::abSubnetMask, mask);
        SetAddressField(a.record, Settings::abGateway, (address & mask) | 1);
    }
    std::string diskAuto;
    for (const ConfigSection* section : {defaults, own}) {
        if (!section) continue;
        for (const auto& [key, value] : section->settings) {
            if (key == "address") continue;
            if (key == "disk" && value == "auto") {
                diskAuto = value;
                continue;
            }
            if (key == "disk") diskAuto.clear();
            std::string why;
            if (!ApplySetting(a, key, value, &why)) {
                *error = "[" + section->name + "] " + key + ": " + why;
                return false;
            }
        }
    }
    if (!diskAuto.empty()) a.disk = "\\\\" + GetText(a.record, Settings::szServerName) + "\\usb";
    *out = a;
    return true;
}

bool BuildAppliances(const std::vector<ConfigSection>& sections, const std::vector<uint32_t>& autoAddresses,
                     std::vector<Appliance>* appliances, std::string* error, const PrefixLengths& prefixes) {
    const ConfigSection* defaults = nullptr;
    std::vector<Appliance> out;
    std::set<uint32_t> claimed;
    for (const ConfigSection& s : sections) {
        if (s.name == "*") defaults = &s;
    }
    for (const ConfigSection& s : sections) {
        if (s.name == "*") continue;
        uint32_t address = 0;
        bool hasAddress = false;
        for (const auto& [key, value] : s.settings) {
            if (key == "address") {
                if (!ParseAddress(value, &address)) {
                    *error = "[" + s.name + "] address: '" + value + "' is not a dotted IPv4 address";
                    return false;
                }
                hasAddress = true;
            }
        }
        if (!hasAddress) {
            *error = "[" + s.name + "] (line " + std::to_string(s.line) + ") has no address";
            return false;
        }
        Appliance a;
        if (!Build(s.name, address, prefixes, defaults, &s, &a, error)) return false;
        claimed.insert(address);
        out.push_back(a);
    }
    for (uint32_t address : autoAddresses) {
        if (claimed.count(address)) continue;
        Appliance a;
        if (!Build(AutoName(address), address, prefixes, defaults, nullptr, &a, error)) return false;
        out.push_back(a);
    }
    *appliances = out;
    return true;
}
