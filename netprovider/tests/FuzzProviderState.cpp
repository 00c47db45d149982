// libFuzzer target: any state file text, as other processes or a test may have written it.
#include "../ProviderState.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CProviderState state;
    state.Parse(std::string(reinterpret_cast<const char*>(data), size));
    std::string text = state.Serialize();
    CProviderState again;
    again.Parse(text);
    if (again.Serialize() != text) std::abort();
    for (const CProviderState::Connection& c : state.Connections())
        if (!c.localName.empty() && CProviderState::NormalizeDrive(c.localName) != c.localName) std::abort();
    state.TakeFailure("NPAddConnection3");
    return 0;
}
