// Wiping secrets (the admin password) out of buffers before they are reused or freed.
#pragma once

#include <cstddef>

// Zeroes memory through volatile writes, so that the compiler cannot drop it as a dead store.
void SecureZero(void* p, size_t nCount);
