// How long a search lasts, and where the attempts to a found appliance go.
#include <gtest/gtest.h>

#include "../OperationRules.h"
#include "../SearchSchedule.h"

TEST(SearchSchedule, EightSecondsPerLocalAddress) {
    EXPECT_EQ(SearchDurationMs(0), 8000u);
    EXPECT_EQ(SearchDurationMs(1), 8000u);
    EXPECT_EQ(SearchDurationMs(2), 16000u);
    EXPECT_EQ(SearchDurationMs(10), 80000u);
}

TEST(DeviceDestination, UnicastWheneverTheSubnetReachesIt) {
    const uint32_t dev = 0x0A0112C6;  // 198.18.1.10
    EXPECT_EQ(DeviceDestination(dev, true), dev);
    EXPECT_EQ(DeviceDestination(dev, false), BROADCAST_ADDRESS);
    EXPECT_EQ(DeviceDestination(0, true), BROADCAST_ADDRESS);
}
