// CheckNumber: empty, digits, length rules, then the range.
#include "CheckNumber.h"

#include <cstring>

int CheckNumber(const char* pszText, int nMin, int nMax, int n, int nFlags) {
    if (!pszText || !*pszText) return CHECK_NUMBER_EMPTY;
    for (const char* p = pszText; *p; ++p)
        if (*p < '0' || *p > '9') return CHECK_NUMBER_NOT_DIGIT;
    const size_t len = strlen(pszText);
    if ((nFlags & CHECK_NUMBER_EXACT_LEN) && (n < 0 || len != static_cast<size_t>(n))) return CHECK_NUMBER_LENGTH;
    if ((nFlags & CHECK_NUMBER_MAX_LEN) && (n < 0 || len > static_cast<size_t>(n))) return CHECK_NUMBER_LENGTH;
    // A long run of digits must not wrap around into the range: stop counting once past any int.
    long long v = 0;
    for (const char* p = pszText; *p; ++p) {
        v = v * 10 + (*p - '0');
        if (v > 0x7fffffffLL) return CHECK_NUMBER_RANGE;
    }
    if (v < nMin || v > nMax) return CHECK_NUMBER_RANGE;
    return CHECK_NUMBER_VALID;
}
