// The replacement operator delete that searches what it frees.
#include "FreedBlocks.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

const char* g_marker = nullptr;
int g_blocksWithMarker = 0;

}  // namespace

void CountFreedBlocksWith(const char* marker) {
    g_marker = marker;
    g_blocksWithMarker = 0;
}

int FreedBlocksWithMarker() {
    return g_blocksWithMarker;
}

void operator delete(void* p) noexcept {
    if (p && g_marker) {
        size_t nSize = _msize(p);
        size_t nMarker = strlen(g_marker);
        const char* pBytes = static_cast<const char*>(p);
        for (size_t i = 0; i + nMarker <= nSize; ++i)
            if (memcmp(pBytes + i, g_marker, nMarker) == 0) {
                ++g_blocksWithMarker;
                break;
            }
    }
    free(p);
}

void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}
