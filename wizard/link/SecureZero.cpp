// Zeroing that survives optimisation.
#include "SecureZero.h"

#include <cstdint>

void SecureZero(void* p, size_t nCount) {
    volatile uint8_t* pBytes = static_cast<volatile uint8_t*>(p);
    while (nCount--) *pBytes++ = 0;
}
