// CCriticalSection: a lock that its owner may take again (the modal loops of the tray utility dispatch
// notices while a queue step holds it). Lock and Unlock pair up; the last Unlock releases it.
#pragma once

#include <mutex>

#include "Object.h"

class CCriticalSection : public CObject {
public:
    BOOL Lock();
    BOOL Unlock();

private:
    std::recursive_mutex m_mutex;
};
