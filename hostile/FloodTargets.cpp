// Flood targets (see FloodTargets.h).
#include "FloodTargets.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

bool IsLabAddress(uint32_t address) {
    return address == 0xFFFFFFFFu || (address >> 17) == ((198u << 24 | 18u << 16) >> 17);
}

bool ParseAddress(const std::string& text, uint32_t& address) {
    uint32_t value = 0;
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        size_t digits = 0;
        uint32_t octet = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            octet = octet * 10 + static_cast<uint32_t>(text[i] - '0');
            i++;
            digits++;
        }
        if (digits == 0 || digits > 3 || octet > 255) {
            return false;
        }
        value = value << 8 | octet;
        parts++;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.') {
                return false;
            }
            i++;
        }
    }
    if (i != text.size()) {
        return false;
    }
    address = value;
    return true;
}

bool ParseTarget(const std::string& text, FloodTarget& target) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon + 1 >= text.size() || text.size() - colon > 6) {
        return false;
    }
    const std::string host = text.substr(0, colon);
    uint32_t port = 0;
    for (size_t i = colon + 1; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        port = port * 10 + static_cast<uint32_t>(text[i] - '0');
    }
    if (port == 0 || port > 65535) {
        return false;
    }
    uint32_t address = 0;
    if (host == "broadcast") {
        address = 0xFFFFFFFFu;
    } else if (!ParseAddress(host, address)) {
        return false;
    }
    if (!IsLabAddress(address)) {
        return false;
    }
    target = FloodTarget{address, static_cast<uint16_t>(port)};
    return true;
}

TargetList ParseTargetList(const std::string& text) {
    TargetList list;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line.erase(std::remove_if(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; }),
                   line.end());
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line == "stop") {
            list.stop = true;
            continue;
        }
        if (line.compare(0, 5, "name=") == 0) {
            const std::string name = line.substr(5);
            if (!name.empty() && std::find(list.names.begin(), list.names.end(), name) == list.names.end()) {
                list.names.push_back(name);
            }
            continue;
        }
        FloodTarget target{};
        if (!ParseTarget(line, target)) {
            list.rejected.push_back(line);
            continue;
        }
        const bool known = std::any_of(list.targets.begin(), list.targets.end(), [&](const FloodTarget& t) {
            return t.address == target.address && t.port == target.port;
        });
        if (!known) {
            list.targets.push_back(target);
        }
    }
    return list;
}

std::string FormatTarget(const FloodTarget& target) {
    if (target.address == 0xFFFFFFFFu) {
        return "broadcast:" + std::to_string(target.port);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", target.address >> 24, target.address >> 16 & 0xFF,
                  target.address >> 8 & 0xFF, target.address & 0xFF, target.port);
    return text;
}
