// Time-zone names indexed by DeviceSettings::nTimeZone.
#pragma once

#include <cstdint>

constexpr int TIME_ZONE_COUNT = 63;

// Offered by the server page's time-zone list.
extern const char* const g_timeZoneNames[TIME_ZONE_COUNT];
// Shown by the device list page and the summary page.
extern const char* const g_timeZoneDisplayNames[TIME_ZONE_COUNT];

// Display name of a stored index; an index outside the table (the appliance's value, unchecked) gives "".
const char* TimeZoneDisplayName(int32_t nTimeZone);
