// CCriticalSection: a lock that its owner may take again (the modal loops of the tray utility dispatch
// notices while a queue step holds it). Lock and Unlock pair up; the last Unlock releases it.
#pragma once

#include <mutex>

#include "Types.h"

class CCriticalSection {
public:
    CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    BOOL Lock();
    BOOL Unlock();

private:
    std::recursive_mutex m_mutex;
};
