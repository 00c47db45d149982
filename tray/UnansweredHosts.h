// CUnansweredHosts: addresses whose last echo test went unanswered, for a short while. The queue step tests
// the head's appliance synchronously (4 s for a silent one); a queue whose entries come from one silent
// address (a discovery answered by a flood) would stop the tray that long per entry. An address remembered
// here counts as silent without a new test until its memory runs out or a test finds it answering.
// Portable; times are milliseconds of any monotonic clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

constexpr uint64_t UNANSWERED_MEMORY_MS = 30000;
constexpr size_t MAX_UNANSWERED_HOSTS = 64;

class CUnansweredHosts {
public:
    // The result of a test of address made at nowMs.
    void Record(const std::string& address, bool answered, uint64_t nowMs);
    // True when address went unanswered less than UNANSWERED_MEMORY_MS before nowMs.
    bool IsSilent(const std::string& address, uint64_t nowMs) const;
    size_t GetCount() const { return m_silentSince.size(); }

private:
    std::map<std::string, uint64_t> m_silentSince;
};
