// CFloodPlan: what a hostile host on the LAN sends to the two programs, one datagram at a time, from a seed
// so that a run repeats exactly. It mixes every size from 0 to 1500 bytes, random bytes, port-915 style
// headers with lengths that do not fit, records whose text fields have no terminator, replies carrying
// sequence numbers that are stale or were never used, and USB-disk notices of every type with new names,
// each from the flooder's own address or a spoofed one, by broadcast or to the PC. Portable: zflood puts
// the datagrams on the wire.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

constexpr uint16_t FLOOD_CONFIG_PORT = 915;
constexpr uint16_t FLOOD_USB_PORT = 917;
constexpr size_t FLOOD_MAX_SIZE = 1500;

// The wizard's transaction counter runs from 1 upwards and wraps from above 10000 to 1000: numbers above
// it were never used by any transaction.
constexpr uint16_t FLOOD_FIRST_UNUSED_SEQUENCE = 10001;

enum class FloodKind {
    SIZE_SWEEP,        // the next size of 0..1500 in turn, random bytes
    RANDOM_BYTES,      // any size, random bytes
    WRONG_LENGTH,      // a configuration header whose wLength does not match what follows
    UNTERMINATED,      // an info reply whose text fields are full to the brim, without NUL
    STALE_SEQUENCE,    // a well-formed reply with a sequence number that is stale or never used
    USB_NOTICE,        // a 264-byte USB-disk notice of any type, a new name each time
    USB_UNTERMINATED,  // a notice whose name fills its 256 bytes without NUL
    USB_SHORT,         // a notice cut to fewer than 264 bytes
    KIND_COUNT
};

const char* FloodKindName(FloodKind kind);

struct FloodTarget {
    uint32_t address;  // host order; 0xFFFFFFFF: broadcast
    uint16_t port;
};

struct FloodDatagram {
    FloodKind kind;
    std::vector<uint8_t> bytes;
    uint32_t destination;  // host order; 0xFFFFFFFF: broadcast
    uint16_t port;
    int source;  // -1: the flooder's own address; otherwise an index into the spoofed sources
};

class CFloodPlan {
public:
    // spoofedSources: how many spoofed source addresses zflood can use (0: every datagram is its own).
    CFloodPlan(uint64_t seed, int spoofedSources);

    // The next datagram to one of targets (which must not be empty). Datagrams of the configuration
    // kinds go to ports other than 917 where there are any, the USB kinds to 917 where there is one.
    FloodDatagram Next(const std::vector<FloodTarget>& targets);

    // What a request of the wizard that the flooder overheard teaches it: its sequence number, so that
    // later replies can carry stale ones. Reads any bytes; false when they are no configuration request.
    bool Overhear(const uint8_t* data, size_t len);
    // Whether bytes overheard on port 917 are a request of the tray: the bare discovery header or an eject.
    static bool IsUsbRequest(const uint8_t* data, size_t len);
    // A sequence number for a reply that no transaction under way can be waiting for.
    uint16_t StaleSequence();
    // Names seen on the LAN (a mapped disk's path, a server name): half the well-formed notices carry one of
    // them instead of a new name. None: every notice has a new name. A disk announcement (type 32) with such a
    // name leaves from the flooder's own address: one forged from an address that answers ping would make that
    // address the disk's appliance, which no receiver can tell from the real one.
    void SetKnownNames(const std::vector<std::string>& names) { m_knownNames = names; }

    uint64_t Count(FloodKind kind) const { return m_counts[static_cast<size_t>(kind)]; }
    size_t NextSweepSize() const { return m_sweep; }
    uint16_t NewestOverheard() const { return m_newestSequence; }

private:
    std::vector<uint8_t> RandomBytes(size_t n);
    std::vector<uint8_t> ConfigHeader(uint16_t type, int16_t status, uint16_t sequence, uint16_t length);
    std::vector<uint8_t> UsbNotice(uint16_t type, uint16_t length, bool terminated);
    const FloodTarget& Pick(const std::vector<FloodTarget>& targets, bool usb);

    std::mt19937_64 m_random;
    int m_spoofedSources;
    size_t m_sweep = 0;
    uint64_t m_names = 0;
    std::vector<std::string> m_knownNames;
    bool m_knownAnnouncement = false;  // the last notice composed is a type 32 with a known name
    uint16_t m_newestSequence = 0;
    uint64_t m_counts[static_cast<size_t>(FloodKind::KIND_COUNT)] = {};
};
