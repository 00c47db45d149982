// One simulated appliance: identity, the settings record it serves and stores, password, disk, reply modes,
// fault modes and counters. Settings keys are shared by the configuration file and the control channel.
#pragma once

#include "ConfigPacket.h"
#include "FaultModes.h"

#include <cstdint>
#include <string>

enum class EjectMode { Success, InUse, OtherType, Silent };
enum class AddressChange { Keep, Move };

struct ApplianceCounters {
    int getInfo = 0;
    int setConfig = 0;
    int checkPassword = 0;
    int discovery = 0;
    int eject = 0;
    int droppedRequests = 0;
    int droppedReplies = 0;
    int replies = 0;
    int notices = 0;
};

struct Appliance {
    std::string name;             // the control channel's name for it; not changed by writes
    uint32_t address = 0;         // where it answers (host byte order)
    SettingsRecord record{};      // served in info replies, replaced by an accepted PKT_SET_CONFIG
    std::string password;         // empty: no admin password (bPasswordSet 0)
    std::string infoText;         // szInfoText
    uint16_t state = 0;           // wState
    std::string disk;             // UNC path of the plugged disk; empty: none
    int16_t setConfigResult = 0;  // wStatus of set-config replies; nonzero: the record is not stored
    AddressChange addressChange = AddressChange::Keep;
    EjectMode eject = EjectMode::Success;
    FaultModes faults;
    ApplianceCounters counters;
};

// An appliance with every field set: server name from the name, MAC from the address, recognisable
// text in szNote and szAuxName and in the uninterpreted bytes, address in abIpAddress and abReportedAddress.
Appliance MakeAppliance(const std::string& name, uint32_t address);

// Applies one "key = value" setting (see README.md for the keys). False with a reason for a bad key or value.
bool ApplySetting(Appliance& appliance, const std::string& key, const std::string& value, std::string* error);

const char* EjectModeName(EjectMode mode);
std::string DescribeAppliance(const Appliance& appliance);  // JSON object for "show"
