// The bounds that keep a flood of notices from growing the tray's queues, its echo tests and its stops:
// the queue admission rules, the gate in front of the echo test, and the memory of silent addresses.
#include "../NoticeGate.h"
#include "../QueueBounds.h"
#include "../UnansweredHosts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Path(int i) {
    return "\\\\NAS" + std::to_string(i) + "\\usb";
}

// Offers one path after the other as the frame does, keeping the admitted ones.
struct MapQueue {
    std::vector<std::string> paths, senders;
    size_t firstWaiting = 0;
    Admission Offer(const std::string& path, const std::string& sender) {
        Admission a = AdmitOffer(paths, senders, firstWaiting, path, sender);
        if (a == Admission::ADMIT) {
            paths.push_back(path);
            senders.push_back(sender);
        }
        return a;
    }
};

}  // namespace

TEST(QueueBounds, AFloodOfNewNamesFromOneAddressQueuesOnlyAFewOffers) {
    MapQueue q;
    int admitted = 0;
    for (int i = 0; i < 10000; i++) {
        admitted += q.Offer(Path(i), "198.18.1.10") == Admission::ADMIT;
    }
    EXPECT_EQ(admitted, static_cast<int>(MAX_OFFERS_PER_SENDER));
    // The oldest are kept: the first announcements are the ones waiting.
    EXPECT_EQ(q.paths, (std::vector<std::string>{Path(0), Path(1), Path(2), Path(3)}));
    // Another appliance still gets its offer in.
    EXPECT_EQ(q.Offer("\\\\OTHER\\usb", "198.18.1.11"), Admission::ADMIT);
    EXPECT_EQ(q.Offer(Path(9), "198.18.1.10"), Admission::SENDER_FULL);
}

TEST(QueueBounds, AFloodFromManyAddressesStopsAtTheQueueCapKeepingTheOldest) {
    MapQueue q;
    for (int i = 0; i < 1000; i++) {
        q.Offer(Path(i), "10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250));
    }
    ASSERT_EQ(q.paths.size(), MAX_QUEUED_OFFERS);
    EXPECT_EQ(q.paths.front(), Path(0));
    EXPECT_EQ(q.paths.back(), Path(MAX_QUEUED_OFFERS - 1));
    EXPECT_EQ(q.Offer(Path(5000), "198.18.1.99"), Admission::QUEUE_FULL);
    // Once the head leaves, one more fits again.
    q.paths.erase(q.paths.begin());
    q.senders.erase(q.senders.begin());
    EXPECT_EQ(q.Offer(Path(5000), "198.18.1.99"), Admission::ADMIT);
}

TEST(QueueBounds, APathWaitsOnceButMayWaitAgainBehindItsOwnOpenDialog) {
    MapQueue q;
    EXPECT_EQ(q.Offer(Path(1), "198.18.1.10"), Admission::ADMIT);
    EXPECT_EQ(q.Offer(Path(1), "198.18.1.10"), Admission::DUPLICATE);
    EXPECT_EQ(q.Offer(Path(1), "198.18.1.77"), Admission::DUPLICATE);  // from anyone
    // The head's dialog is open: its path is announced again and may be offered once more if this
    // dialog does not map it, but only once.
    q.firstWaiting = 1;
    EXPECT_EQ(q.Offer(Path(1), "198.18.1.10"), Admission::ADMIT);
    EXPECT_EQ(q.Offer(Path(1), "198.18.1.10"), Admission::DUPLICATE);
    EXPECT_EQ(q.paths, (std::vector<std::string>{Path(1), Path(1)}));
    // Paths are compared exactly.
    EXPECT_EQ(q.Offer("\\\\nas1\\usb", "198.18.1.10"), Admission::ADMIT);
}

TEST(QueueBounds, RemovalsAreBoundedAndWaitOnce) {
    std::vector<std::string> removed;
    for (int i = 0; i < 500; i++) {
        const std::string path = Path(i % 40);
        if (AdmitRemoval(removed, 0, path) == Admission::ADMIT) {
            removed.push_back(path);
        }
    }
    ASSERT_EQ(removed.size(), MAX_QUEUED_REMOVALS);
    EXPECT_EQ(removed.back(), Path(MAX_QUEUED_REMOVALS - 1));
    EXPECT_EQ(AdmitRemoval(removed, 0, Path(3)), Admission::DUPLICATE);
    EXPECT_EQ(AdmitRemoval(removed, 1, Path(0)), Admission::QUEUE_FULL);  // on show, but the queue is full
    removed.resize(2);
    EXPECT_EQ(AdmitRemoval(removed, 1, Path(0)), Admission::ADMIT);
    EXPECT_EQ(AdmitRemoval(removed, 0, Path(0)), Admission::DUPLICATE);
    EXPECT_EQ(AdmitRemoval({}, 1, Path(0)), Admission::ADMIT);  // an empty queue with a stale index
}

TEST(NoticeGate, ASingleNoticeIsTestedOnceAndPassesWhenTheSenderAnswers) {
    CNoticeGate gate;
    uint32_t id = 0;
    ASSERT_EQ(gate.Arrive("198.18.1.10", {32, Path(1)}, id), CNoticeGate::START_CHECK);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(gate.PendingChecks(), 1u);
    std::string sender;
    std::vector<GatedNotice> passed = gate.CheckDone(id, true, sender);
    EXPECT_EQ(sender, "198.18.1.10");
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].wType, 32);
    EXPECT_EQ(passed[0].name, Path(1));
    EXPECT_EQ(gate.PendingChecks(), 0u);
    // The next notice of the same sender is tested anew: a result is not kept.
    uint32_t again = 0;
    EXPECT_EQ(gate.Arrive("198.18.1.10", {34, Path(1)}, again), CNoticeGate::START_CHECK);
    EXPECT_NE(again, id);
    // A second end of the same test, or a test nobody started, releases nothing.
    EXPECT_TRUE(gate.CheckDone(id, true, sender).empty());
    EXPECT_EQ(sender, "");
    EXPECT_TRUE(gate.CheckDone(0, true, sender).empty());
}

TEST(NoticeGate, NoticesOfASenderUnderTestWaitForThatResultInOrderAndAreBounded) {
    CNoticeGate gate;
    uint32_t id = 0, same = 0;
    ASSERT_EQ(gate.Arrive("198.18.1.10", {32, Path(0)}, id), CNoticeGate::START_CHECK);
    for (int i = 1; i < 100; i++) {
        CNoticeGate::Verdict v = gate.Arrive("198.18.1.10", {32, Path(i)}, same);
        EXPECT_EQ(v, i < static_cast<int>(MAX_WAITING_PER_CHECK) ? CNoticeGate::WAITING : CNoticeGate::DROPPED) << i;
    }
    EXPECT_EQ(same, id);
    EXPECT_EQ(gate.PendingChecks(), 1u);  // one test, however many notices
    EXPECT_EQ(gate.WaitingNotices(), MAX_WAITING_PER_CHECK);
    EXPECT_EQ(gate.DroppedNotices(), 100u - MAX_WAITING_PER_CHECK);
    std::string sender;
    std::vector<GatedNotice> passed = gate.CheckDone(id, true, sender);
    ASSERT_EQ(passed.size(), MAX_WAITING_PER_CHECK);
    for (size_t i = 0; i < passed.size(); i++) {
        EXPECT_EQ(passed[i].name, Path(static_cast<int>(i)));
    }
    EXPECT_EQ(gate.WaitingNotices(), 0u);
}

TEST(NoticeGate, ASilentSendersNoticesAreDroppedWithItsResult) {
    CNoticeGate gate;
    uint32_t silent = 0, other = 0, any = 0;
    gate.Arrive("198.18.1.50", {32, Path(1)}, silent);
    gate.Arrive("198.18.1.50", {36, Path(2)}, any);
    gate.Arrive("198.18.1.10", {32, Path(3)}, other);
    std::string sender;
    EXPECT_TRUE(gate.CheckDone(silent, false, sender).empty());
    EXPECT_EQ(sender, "198.18.1.50");
    EXPECT_EQ(gate.DroppedNotices(), 2u);
    // The other sender's test is unaffected.
    std::vector<GatedNotice> passed = gate.CheckDone(other, true, sender);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].name, Path(3));
}

TEST(NoticeGate, ManySilentSendersAtOnceTieUpOnlyABoundedNumberOfTests) {
    CNoticeGate gate;
    std::vector<uint32_t> started;
    for (int i = 0; i < 5000; i++) {
        uint32_t id = 0;
        if (gate.Arrive("10.9." + std::to_string(i / 200) + "." + std::to_string(i % 200), {32, Path(i)}, id) ==
            CNoticeGate::START_CHECK) {
            started.push_back(id);
        }
    }
    EXPECT_EQ(started.size(), MAX_PENDING_CHECKS);
    EXPECT_EQ(gate.PendingChecks(), MAX_PENDING_CHECKS);
    EXPECT_EQ(gate.WaitingNotices(), MAX_PENDING_CHECKS);
    // As tests end, room for new ones comes back: a genuine appliance then gets through.
    std::string sender;
    gate.CheckDone(started[0], false, sender);
    uint32_t genuine = 0;
    ASSERT_EQ(gate.Arrive("198.18.1.10", {32, "\\\\NAS1\\usb"}, genuine), CNoticeGate::START_CHECK);
    std::vector<GatedNotice> passed = gate.CheckDone(genuine, true, sender);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].name, "\\\\NAS1\\usb");
}

TEST(UnansweredHosts, ASilentAddressIsRememberedForAWhileAndAnAnswerClearsIt) {
    CUnansweredHosts hosts;
    EXPECT_FALSE(hosts.IsSilent("198.18.1.50", 0));
    hosts.Record("198.18.1.50", false, 1000);
    EXPECT_TRUE(hosts.IsSilent("198.18.1.50", 1000));
    EXPECT_TRUE(hosts.IsSilent("198.18.1.50", 1000 + UNANSWERED_MEMORY_MS - 1));
    EXPECT_FALSE(hosts.IsSilent("198.18.1.50", 1000 + UNANSWERED_MEMORY_MS));
    EXPECT_FALSE(hosts.IsSilent("198.18.1.51", 1000));
    // An address that answers is no longer taken for silent, at once.
    hosts.Record("198.18.1.50", false, 5000);
    hosts.Record("198.18.1.50", true, 5001);
    EXPECT_FALSE(hosts.IsSilent("198.18.1.50", 5002));
    // A clock that went back does not make an entry run out early.
    hosts.Record("198.18.1.52", false, 9000);
    EXPECT_TRUE(hosts.IsSilent("198.18.1.52", 100));
}

TEST(UnansweredHosts, TheMemoryStaysBoundedUnderAFloodOfSilentAddresses) {
    CUnansweredHosts hosts;
    for (int i = 0; i < 10000; i++) {
        hosts.Record("10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250), false, 10000 + i);
    }
    EXPECT_LE(hosts.GetCount(), MAX_UNANSWERED_HOSTS);
    // The newest are the ones kept.
    EXPECT_TRUE(hosts.IsSilent("10.1.39.249", 20000));
    EXPECT_FALSE(hosts.IsSilent("10.1.0.0", 20000));
    // Entries that ran out make room before any live one is given up.
    hosts.Record("198.18.1.60", false, 10000 + 9999 + UNANSWERED_MEMORY_MS);
    EXPECT_EQ(hosts.GetCount(), 1u);
}
