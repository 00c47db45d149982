// Random settings records as an appliance might serve them, random edits a user might make on the IP
// settings and server pages, and the record the wizard must send back after reading one and applying
// the other. Portable; the round-trip runs under Wine compare what reached the simulator with it.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "DeviceSettings.h"

// A record with random bytes in every field. Where the wizard must accept a field to let the user go on,
// the field holds a random valid value followed by random bytes: a server name of 1..14 allowed
// characters, a workgroup of 0..15, a date MM/DD/YYYY of 1980..2030 and a time HH:MM:SS. The MAC is
// the appliance's, since a read reply with another one is not the chosen appliance's.
DeviceSettings RandomRecord(std::mt19937& rng, const uint8_t (&abMac)[6]);

struct RecordEdits {
    bool bDhcpClient = false;  // else a fixed address, with the groups flagged below typed over
    bool bNewAddress = false, bNewMask = false, bNewGateway = false;
    uint8_t abIpAddress[4] = {}, abSubnetMask[4] = {}, abGateway[4] = {};
    bool bNewName = false;
    std::string serverName;
    bool bNewWorkgroup = false;
    std::string workgroup;
    bool bNewZone = false;
    int32_t nTimeZone = 0;
    bool bNewDate = false;
    int nMonth = 1, nDay = 1, nYear = 2000;
    bool bNewTime = false;
    int nHour = 0, nMinute = 0;  // 24-hour
};

// Each field changed or kept at random; every changed value is one the pages accept (a day up to 28, so
// that the day typed first fits any month).
RecordEdits RandomEdits(std::mt19937& rng);

// What the device list page holds after reading the served record from the appliance at abSender.
DeviceSettings ExpectedAfterRead(const DeviceSettings& served, const uint8_t (&abSender)[4]);

// What the pages store into the read record when the user makes these edits and leaves both pages with
// Next; the summary page sends exactly this.
DeviceSettings ExpectedAfterEdits(const DeviceSettings& read, const RecordEdits& edits);

// The record as 468 lower-case hex digits, as the simulator's control channel takes and gives it.
std::string RecordHex(const DeviceSettings& settings);

// The offsets at which two records differ, "none" when they are equal ("6 7 20").
std::string DifferingOffsets(const DeviceSettings& a, const DeviceSettings& b);
