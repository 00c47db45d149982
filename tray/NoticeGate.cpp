// CNoticeGate (see NoticeGate.h).
#include "NoticeGate.h"

CNoticeGate::Verdict CNoticeGate::Arrive(const std::string& sender, const GatedNotice& notice, uint32_t& checkId) {
    for (auto& [id, check] : m_pending) {
        if (check.sender != sender) {
            continue;
        }
        if (check.waiting.size() >= MAX_WAITING_PER_CHECK) {
            m_dropped++;
            return DROPPED;
        }
        check.waiting.push_back(notice);
        checkId = id;
        return WAITING;
    }
    if (m_pending.size() >= MAX_PENDING_CHECKS) {
        m_dropped++;
        return DROPPED;
    }
    // Id 0 is never handed out, so that a zeroed message parameter matches no test.
    if (m_nextId == 0) {
        m_nextId = 1;
    }
    checkId = m_nextId++;
    m_pending[checkId] = Check{sender, {notice}};
    return START_CHECK;
}

std::vector<GatedNotice> CNoticeGate::CheckDone(uint32_t checkId, bool reachable, std::string& sender) {
    sender.clear();
    auto found = m_pending.find(checkId);
    if (found == m_pending.end()) {
        return {};
    }
    Check check = std::move(found->second);
    m_pending.erase(found);
    sender = check.sender;
    if (!reachable) {
        m_dropped += check.waiting.size();
        return {};
    }
    return check.waiting;
}

size_t CNoticeGate::WaitingNotices() const {
    size_t count = 0;
    for (const auto& entry : m_pending) {
        count += entry.second.waiting.size();
    }
    return count;
}
