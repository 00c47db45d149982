// Schedules of the device operations.
#include "SearchSchedule.h"

#include "OperationRules.h"

uint32_t SearchDurationMs(int nLocalAddressCount) {
    const uint32_t nPerAddress = (SEARCH_SCHEDULE.nRetries + 1) * SEARCH_SCHEDULE.nPeriodMs;
    return nLocalAddressCount > 1 ? nPerAddress * static_cast<uint32_t>(nLocalAddressCount) : nPerAddress;
}

uint32_t DeviceDestination(uint32_t dwDevice, bool bOnFoundSubnet) {
    return (dwDevice != 0 && bOnFoundSubnet) ? dwDevice : BROADCAST_ADDRESS;
}
