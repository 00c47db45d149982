// CNoticeGate: the echo test of a notice's sender without stopping the tray for it. An address that does
// not answer costs 4 echo time-outs, so the test runs beside the UI thread; while one address is being
// tested, its further notices wait for that same result instead of starting tests of their own. Both the
// tests under way and the notices waiting are bounded, so that a flood from silent or spoofed addresses
// costs a fixed amount of memory and threads; what does not fit is dropped, as a notice from a silent
// address would be. Portable: the frame starts the tests and reports their ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

constexpr size_t MAX_PENDING_CHECKS = 8;     // addresses under test at one time
constexpr size_t MAX_WAITING_PER_CHECK = 8;  // notices waiting for one address's result

struct GatedNotice {
    uint16_t wType;
    std::string name;
};

class CNoticeGate {
public:
    enum Verdict {
        START_CHECK,  // test the sender, with the id given back; the notice waits for the result
        WAITING,      // the sender is under test already; the notice waits for that result
        DROPPED,      // no room: the notice is gone
    };

    Verdict Arrive(const std::string& sender, const GatedNotice& notice, uint32_t& checkId);

    // The end of a test. Reachable: the notices that waited for it, in arrival order; otherwise none (they
    // are dropped). sender receives the tested address; an unknown id gives nothing and an empty sender.
    std::vector<GatedNotice> CheckDone(uint32_t checkId, bool reachable, std::string& sender);

    size_t PendingChecks() const { return m_pending.size(); }
    size_t WaitingNotices() const;
    uint64_t DroppedNotices() const { return m_dropped; }

private:
    struct Check {
        std::string sender;
        std::vector<GatedNotice> waiting;
    };
    std::map<uint32_t, Check> m_pending;
    uint32_t m_nextId = 1;
    uint64_t m_dropped = 0;
};
