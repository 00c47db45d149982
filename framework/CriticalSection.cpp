// CCriticalSection over the standard re-entrant mutex (winpthreads in the Windows build).
#include "CriticalSection.h"

BOOL CCriticalSection::Lock() {
    m_mutex.lock();
    return TRUE;
}

BOOL CCriticalSection::Unlock() {
    m_mutex.unlock();
    return TRUE;
}
