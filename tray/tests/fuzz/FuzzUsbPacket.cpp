// libFuzzer target: any received datagram read as a UsbPacket.
#include "../../UsbPacket.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UsbPacket packet = ParseUsbPacket(data, size);
    std::string name = UsbPacketName(packet);
    if (name.size() >= USB_NAME_SIZE || std::strlen(packet.szName) != name.size()) std::abort();
    // Every byte but the forced terminator comes from the datagram, zero-padded.
    UsbPacketImage image = SerializeUsbPacket(packet);
    for (size_t i = 0; i < USB_PACKET_SIZE - 1; i++) {
        uint8_t expected = i < size ? data[i] : 0;
        if (image[i] != expected) std::abort();
    }
    return 0;
}
