// CheckNumber on any typed text: never reads past the text, and a valid result always lies in the range.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CheckNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    // The first bytes choose the range, length and flags; the rest is the text.
    const int nMin = data[0], nMax = data[0] + data[1] * 8, n = data[2] % 12, nFlags = data[3];
    std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    text = text.substr(0, text.find('\0'));
    const int r = CheckNumber(text.c_str(), nMin, nMax, n, nFlags);
    if (r < CHECK_NUMBER_EMPTY || r > CHECK_NUMBER_VALID || r == 0) abort();
    if (r == CHECK_NUMBER_VALID) {
        if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) abort();
        const unsigned long long v = strtoull(text.c_str(), nullptr, 10);
        if (v < static_cast<unsigned long long>(nMin) || v > static_cast<unsigned long long>(nMax)) abort();
        if ((nFlags & CHECK_NUMBER_EXACT_LEN) && text.size() != static_cast<size_t>(n)) abort();
        if ((nFlags & CHECK_NUMBER_MAX_LEN) && text.size() > static_cast<size_t>(n)) abort();
    }
    if (text.empty() && r != CHECK_NUMBER_EMPTY) abort();
    return 0;
}
