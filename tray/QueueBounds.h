// How far the tray's notice queues may grow. Any host that answers ping can announce disks, so a flood of
// announcements with ever new names must not grow the queues (and the chain of offers) without end: a path
// waits at most once, one appliance has a few offers waiting at most, and a full queue keeps its oldest
// entries and turns the newest away. Portable, so that the rules are tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr size_t MAX_QUEUED_OFFERS = 32;     // disks waiting to be offered, the one on show included
constexpr size_t MAX_OFFERS_PER_SENDER = 4;  // of those, announced by one address
constexpr size_t MAX_QUEUED_REMOVALS = 32;   // removal notices waiting, the one on show included

enum class Admission {
    ADMIT,
    DUPLICATE,    // the path waits already (an entry on show does not count: it may be cancelled)
    SENDER_FULL,  // the announcing address has MAX_OFFERS_PER_SENDER entries queued
    QUEUE_FULL,
};

// Whether the offer of path from sender may join the mapping queue as it stands (paths and senders in
// parallel, head first). firstWaiting is 1 while the head's dialog is open, else 0.
Admission AdmitOffer(const std::vector<std::string>& paths, const std::vector<std::string>& senders,
                     size_t firstWaiting, const std::string& path, const std::string& sender);

// The same for the removal queue, which knows no senders.
Admission AdmitRemoval(const std::vector<std::string>& paths, size_t firstWaiting, const std::string& path);
