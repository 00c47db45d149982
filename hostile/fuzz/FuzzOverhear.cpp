// The flooder reads what it overhears on the segment and the targets file it is given: any bytes.
#include "FloodPlan.h"
#include "FloodTargets.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFloodPlan plan(1, 2);
    if (plan.Overhear(data, size)) {
        const uint16_t stale = plan.StaleSequence();
        if (stale != 0 && stale >= plan.NewestOverheard() && stale < FLOOD_FIRST_UNUSED_SEQUENCE) __builtin_trap();
    }
    if (CFloodPlan::IsUsbRequest(data, size) && size != 8 && size != 264) __builtin_trap();
    TargetList list = ParseTargetList(std::string(reinterpret_cast<const char*>(data), size));
    for (const FloodTarget& t : list.targets) {
        if (!IsLabAddress(t.address) || t.port == 0) __builtin_trap();
    }
    return 0;
}
