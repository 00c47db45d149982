// libFuzzer target: adapter address and mask texts through the subnet test.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../OperationRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    std::string text(reinterpret_cast<const char*>(pData), nSize);
    size_t nSplit = text.find('\n');
    std::string address = text.substr(0, nSplit);
    std::string mask = nSplit == std::string::npos ? std::string() : text.substr(nSplit + 1);
    uint8_t abOctets[4];
    if (ParseDottedQuad(address.c_str(), abOctets) != IsOnSubnet(address.c_str(), "0.0.0.0", 0)) __builtin_trap();
    (void)IsOnSubnet(address.c_str(), mask.c_str(), 0x0A0112C6);
    return 0;
}
