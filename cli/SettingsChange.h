// CSettingsChange: the fields an administrator asks to change on one appliance (from the command line or a
// row of a table), checked by the wizard's own field rules and applied to the record read from the
// appliance. Every byte the change does not name goes back as it was read.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DeviceSettings.h"

struct FieldDifference {
    std::string field;
    std::string before;
    std::string after;
};

class CSettingsChange {
public:
    // Each setter takes the text as typed; Check() judges them all.
    std::optional<std::string> dhcp;  // "on" or "off"
    std::optional<std::string> ip, mask, gateway;
    std::optional<std::string> name, workgroup;
    std::optional<std::string> timezone;  // index 0..62 or a (part of a) time-zone name
    std::optional<std::string> date;      // YYYY-MM-DD
    std::optional<std::string> time;      // HH:MM, 24-hour

    bool IsEmpty() const;
    // Empty when every field is valid, else one message per invalid field.
    std::vector<std::string> Check() const;
    // Applies a checked change to the record.
    void ApplyTo(DeviceSettings& settings) const;

    // The date and time fields set to the given local clock.
    void SetClock(int nYear, int nMonth, int nDay, int nHour, int nMinute);
};

// The fields an administrator sees, as they read in the record (time zone by its display name).
std::vector<FieldDifference> DescribeSettings(const DeviceSettings& settings);
// The fields that differ between two records, in the order of DescribeSettings; bytes outside the named
// fields show as one row "other bytes".
std::vector<FieldDifference> DiffSettings(const DeviceSettings& before, const DeviceSettings& after);

// A time-zone index from an index or a name (exact, or a part that only one name contains; case is not
// significant); -1 with a message otherwise.
int ResolveTimeZone(const std::string& text, std::string& error);
