// libFuzzer target: ServerOfPath of any text, as received names are passed to it.
#include "../../UsbPacket.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path(reinterpret_cast<const char*>(data), size);
    std::string server;
    ServerOfPath(path, server);
    if (server.find('\\') != std::string::npos || path.find(server) == std::string::npos) std::abort();
    return 0;
}
