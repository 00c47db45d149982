// Where the flooder may send: targets as "ADDR:PORT" text, and the one address range it accepts, the lab's
// 198.18.0.0/15 (plus the limited broadcast, which the lab's namespaces keep inside). Portable.
#pragma once

#include "FloodPlan.h"

#include <cstdint>
#include <string>
#include <vector>

// True for 198.18.0.0/15 and 255.255.255.255 (host order).
bool IsLabAddress(uint32_t address);

// "A.B.C.D" (host order out); false for anything else.
bool ParseAddress(const std::string& text, uint32_t& address);

// "A.B.C.D:PORT" or "broadcast:PORT" with a port of 1..65535, inside the lab; false otherwise.
bool ParseTarget(const std::string& text, FloodTarget& target);

struct TargetList {
    std::vector<FloodTarget> targets;
    std::vector<std::string> rejected;  // lines that are no lab target
    bool stop = false;                  // a line "stop": the flood is to end
    std::vector<std::string> names;     // lines "name=TEXT": names the USB-disk notices use besides new ones
};

// A targets file: one target a line; blank lines and lines starting with # are skipped; duplicates count once.
// A line "name=TEXT" gives a name (a disk path or server name seen on the LAN) for the notices to carry.
TargetList ParseTargetList(const std::string& text);

std::string FormatTarget(const FloodTarget& target);
