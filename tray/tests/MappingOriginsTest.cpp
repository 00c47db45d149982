// Who may remove a mapped drive: the appliance that announced the disk the utility mapped, or for a mapping
// made before the utility started, an address that announces the path in a discovery; nobody else.
#include "../MappingOrigins.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string USB = "\\\\NAS1\\usb";
const std::string NAS1 = "198.18.1.10", HOSTILE = "198.18.1.66";

}  // namespace

TEST(MappingOrigins, AMappingTheUtilityMadeIsSpokenForOnlyByItsAnnouncer) {
    CMappingOrigins origins;
    EXPECT_FALSE(origins.MaySpeakFor(USB, NAS1));  // nothing mapped: nobody

    origins.Mapped(USB, NAS1);
    EXPECT_TRUE(origins.MaySpeakFor(USB, NAS1));
    EXPECT_FALSE(origins.MaySpeakFor(USB, HOSTILE));
    EXPECT_FALSE(origins.MaySpeakFor("\\\\nas1\\usb", NAS1));  // paths compare exactly
    EXPECT_FALSE(origins.MaySpeakFor("\\\\NAS1\\other", NAS1));

    // A host that answers a later discovery with the same path does not take it over.
    origins.Discovered({USB, USB}, {HOSTILE, NAS1}, {USB});
    EXPECT_FALSE(origins.MaySpeakFor(USB, HOSTILE));
    EXPECT_TRUE(origins.MaySpeakFor(USB, NAS1));

    // Mapped again from another announcement: the new announcer alone.
    origins.Mapped(USB, "198.18.2.10");
    EXPECT_FALSE(origins.MaySpeakFor(USB, NAS1));
    EXPECT_TRUE(origins.MaySpeakFor(USB, "198.18.2.10"));
}

TEST(MappingOrigins, AMappingMadeBeforeIsSpokenForByWhoAnnouncesItInADiscovery) {
    CMappingOrigins origins;
    const std::string other = "\\\\NAS2\\usb";
    origins.Discovered({USB, other, ""}, {NAS1, NAS1, "198.18.1.11"}, {USB, "\\\\OLD\\share"});
    EXPECT_TRUE(origins.MaySpeakFor(USB, NAS1));
    EXPECT_FALSE(origins.MaySpeakFor(USB, HOSTILE));
    EXPECT_FALSE(origins.MaySpeakFor(other, NAS1));             // not mapped: not kept
    EXPECT_FALSE(origins.MaySpeakFor("\\\\OLD\\share", NAS1));  // mapped, but nobody announced it
    EXPECT_EQ(origins.GetCount(), 1u);

    // Answered by many hosts (one appliance on several segments, or a flood): a few addresses are kept.
    std::vector<std::string> paths, senders;
    for (int i = 0; i < 300; i++) {
        paths.push_back(USB);
        senders.push_back("198.18.3." + std::to_string(i % 250));
    }
    origins.Discovered(paths, senders, {USB});
    EXPECT_TRUE(origins.MaySpeakFor(USB, NAS1));
    EXPECT_TRUE(origins.MaySpeakFor(USB, "198.18.3.2"));
    EXPECT_FALSE(origins.MaySpeakFor(USB, "198.18.3." + std::to_string(MAX_ANNOUNCERS_PER_PATH - 1)));

    // Once the path is no longer mapped, a discovery forgets who spoke for it.
    origins.Discovered({}, {}, {});
    EXPECT_FALSE(origins.MaySpeakFor(USB, NAS1));
    EXPECT_EQ(origins.GetCount(), 0u);
}
