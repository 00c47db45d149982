// The table `zentrive apply` reads: one appliance a row, keyed by MAC address, with the fields of `set`
// (dhcp, ip, mask, gateway, name, workgroup, timezone, date, time; an empty cell leaves the field as it
// is). CSV with a header row, or JSON: an array of objects.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "SettingsChange.h"

struct ApplyRow {
    int nLine;  // CSV line or JSON array position (from 1), for messages
    uint8_t abMac[6];
    std::string mac;
    CSettingsChange change;
};

// Parses the table; false with one message per faulty row (all rows are looked at).
bool ReadApplyTable(std::istream& in, bool bJson, std::vector<ApplyRow>& rows, std::vector<std::string>& errors);
