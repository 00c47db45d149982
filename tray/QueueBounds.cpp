// The bounds of the notice queues (see QueueBounds.h).
#include "QueueBounds.h"

#include <algorithm>

namespace {

bool WaitsAlready(const std::vector<std::string>& paths, size_t firstWaiting, const std::string& path) {
    if (firstWaiting >= paths.size()) {
        return false;
    }
    return std::find(paths.begin() + static_cast<std::ptrdiff_t>(firstWaiting), paths.end(), path) != paths.end();
}

}  // namespace

Admission AdmitOffer(const std::vector<std::string>& paths, const std::vector<std::string>& senders,
                     size_t firstWaiting, const std::string& path, const std::string& sender) {
    if (WaitsAlready(paths, firstWaiting, path)) {
        return Admission::DUPLICATE;
    }
    if (static_cast<size_t>(std::count(senders.begin(), senders.end(), sender)) >= MAX_OFFERS_PER_SENDER) {
        return Admission::SENDER_FULL;
    }
    if (paths.size() >= MAX_QUEUED_OFFERS) {
        return Admission::QUEUE_FULL;
    }
    return Admission::ADMIT;
}

Admission AdmitRemoval(const std::vector<std::string>& paths, size_t firstWaiting, const std::string& path) {
    if (WaitsAlready(paths, firstWaiting, path)) {
        return Admission::DUPLICATE;
    }
    if (paths.size() >= MAX_QUEUED_REMOVALS) {
        return Admission::QUEUE_FULL;
    }
    return Admission::ADMIT;
}
