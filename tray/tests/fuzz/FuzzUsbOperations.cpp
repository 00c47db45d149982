// libFuzzer target: discovery and eject query fed with arbitrary replies. The input is a series of
// datagrams, each a length byte, a delay byte (x 100 ms) and that many bytes.
#include "../../UsbOperations.h"
#include "../ScriptedUsbSocket.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CScriptedUsbSocket discovery, eject;
    size_t pos = 0;
    int socketIndex = 0;
    while (pos + 2 <= size) {
        size_t len = static_cast<size_t>(data[pos]) * 3;  // up to 765 bytes: past the receive buffer
        uint32_t delay = static_cast<uint32_t>(data[pos + 1]) * 100;
        pos += 2;
        len = std::min(len, size - pos);
        CScriptedUsbSocket::Datagram d{delay, std::vector<uint8_t>(data + pos, data + pos + len), 0x0A0A12C6u};
        discovery.Script(socketIndex % 2, d);
        eject.Script(socketIndex % 3, d);
        socketIndex += delay > 1500 ? 1 : 0;
        pos += len;
    }
    std::vector<std::string> names, addresses;
    RunDiscovery(discovery, {0x010112C6u, 0x010212C6u}, names, addresses);
    if (names.size() != addresses.size() || discovery.IsOpen()) std::abort();
    for (const std::string& n : names)
        if (n.size() >= USB_NAME_SIZE) std::abort();
    UsbPacket reply{};
    RunEjectQuery(eject, "NAS1", 0x010112C6u, 0x0A0A12C6u, reply);
    if (eject.IsOpen() || eject.SentDatagrams().size() > 3) std::abort();
    return 0;
}
