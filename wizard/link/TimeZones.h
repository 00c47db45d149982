// Time-zone names indexed by DeviceSettings::nTimeZone.
#pragma once

#include <cstdint>

constexpr int TIME_ZONE_COUNT = 63;

// Offered by the server page's time-zone list.
extern const char* const g_timeZoneNames[TIME_ZONE_COUNT];

// The name the device list page and the summary page show for a stored index: the list's name, but for
// rows 40 and 60, which they spell otherwise. An index outside the table (the appliance's value,
// unchecked) gives "".
const char* TimeZoneDisplayName(int32_t nTimeZone);
