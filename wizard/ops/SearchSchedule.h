// The schedules of the device operations: how often each request is repeated, how far apart, and where an
// attempt goes. Portable: the dialogs run them on window timers, the command-line tool on its own clock.
#pragma once

#include <cstdint>

struct RetrySchedule {
    int nRetries;        // resends after the first send
    uint32_t nPeriodMs;  // time between two sends, and from the last send to giving up
};

// A search sends once and resends three times through the first local address, then three times through
// each further one; it ends one period after the last resend of the last address.
constexpr RetrySchedule SEARCH_SCHEDULE = {3, 2000};
constexpr RetrySchedule DEVICE_READ_SCHEDULE = {3, 2000};
constexpr RetrySchedule PASSWORD_SCHEDULE = {3, 2000};
constexpr RetrySchedule SET_CONFIG_SCHEDULE = {7, 20000};

// How long a whole search takes: 8 s per local address, 8 s when the host lists none.
uint32_t SearchDurationMs(int nLocalAddressCount);

// Where every attempt to a found appliance goes: its own address when it has one and that address lies on
// the subnet of the interface it was found on, so that nothing meant for it (the admin password above all)
// reaches the other hosts of the segment; broadcast only when unicast cannot reach it.
uint32_t DeviceDestination(uint32_t dwDevice, bool bOnFoundSubnet);
