// CUnansweredHosts (see UnansweredHosts.h).
#include "UnansweredHosts.h"

namespace {

// A clock read before the entry was made counts as no time passed.
uint64_t Age(uint64_t sinceMs, uint64_t nowMs) {
    return nowMs > sinceMs ? nowMs - sinceMs : 0;
}

}  // namespace

void CUnansweredHosts::Record(const std::string& address, bool answered, uint64_t nowMs) {
    if (answered) {
        m_silentSince.erase(address);
        return;
    }
    // Forget what has run out first; if the memory is still full, the oldest entry makes room.
    for (auto it = m_silentSince.begin(); it != m_silentSince.end();) {
        it = Age(it->second, nowMs) >= UNANSWERED_MEMORY_MS ? m_silentSince.erase(it) : std::next(it);
    }
    if (m_silentSince.size() >= MAX_UNANSWERED_HOSTS && m_silentSince.count(address) == 0) {
        auto oldest = m_silentSince.begin();
        for (auto it = m_silentSince.begin(); it != m_silentSince.end(); ++it) {
            if (it->second < oldest->second) {
                oldest = it;
            }
        }
        m_silentSince.erase(oldest);
    }
    m_silentSince[address] = nowMs;
}

bool CUnansweredHosts::IsSilent(const std::string& address, uint64_t nowMs) const {
    auto found = m_silentSince.find(address);
    return found != m_silentSince.end() && Age(found->second, nowMs) < UNANSWERED_MEMORY_MS;
}
