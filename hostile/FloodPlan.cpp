// CFloodPlan (see FloodPlan.h).
#include "FloodPlan.h"

#include "ByteReader.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr size_t HEADER_SIZE = 8;
constexpr size_t INFO_PAYLOAD = 254;  // a get-info reply's payload
constexpr size_t USB_RECORD = 264;
constexpr size_t USB_NAME = 256;

void PutU16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
    out[at] = static_cast<uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

// The weight of each kind in the mix, in FloodKind order.
constexpr int KIND_WEIGHTS[] = {3, 1, 2, 1, 2, 3, 1, 1};
static_assert(sizeof KIND_WEIGHTS / sizeof KIND_WEIGHTS[0] == static_cast<size_t>(FloodKind::KIND_COUNT));

}  // namespace

const char* FloodKindName(FloodKind kind) {
    static const char* const names[] = {"size-sweep",     "random-bytes", "wrong-length",     "unterminated",
                                        "stale-sequence", "usb-notice",   "usb-unterminated", "usb-short"};
    static_assert(sizeof names / sizeof names[0] == static_cast<size_t>(FloodKind::KIND_COUNT));
    const size_t k = static_cast<size_t>(kind);
    return k < static_cast<size_t>(FloodKind::KIND_COUNT) ? names[k] : "?";
}

CFloodPlan::CFloodPlan(uint64_t seed, int spoofedSources)
    : m_random(seed), m_spoofedSources(std::max(0, spoofedSources)) {}

std::vector<uint8_t> CFloodPlan::RandomBytes(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(m_random());
    }
    return bytes;
}

std::vector<uint8_t> CFloodPlan::ConfigHeader(uint16_t type, int16_t status, uint16_t sequence, uint16_t length) {
    std::vector<uint8_t> out(HEADER_SIZE);
    PutU16(out, 0, type);
    PutU16(out, 2, static_cast<uint16_t>(status));
    PutU16(out, 4, sequence);
    PutU16(out, 6, length);
    return out;
}

std::vector<uint8_t> CFloodPlan::UsbNotice(uint16_t type, uint16_t length, bool terminated) {
    std::vector<uint8_t> out(USB_RECORD, 0);
    PutU16(out, 0, type);
    PutU16(out, 6, length);
    m_knownAnnouncement = false;
    if (terminated && !m_knownNames.empty() && m_random() % 2 == 0) {
        m_knownAnnouncement = type == 32;
        const std::string& name = m_knownNames[m_random() % m_knownNames.size()];
        std::copy(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(std::min(name.size(), USB_NAME - 1)),
                  out.begin() + HEADER_SIZE);
    } else if (terminated) {
        char name[64];
        std::snprintf(name, sizeof name, "\\\\FL%06llu\\usb", static_cast<unsigned long long>(m_names++ % 1000000));
        std::copy(name, name + std::char_traits<char>::length(name), out.begin() + HEADER_SIZE);
    } else {
        for (size_t i = 0; i < USB_NAME; i++) {
            out[HEADER_SIZE + i] = static_cast<uint8_t>(i == 0 || i == 1 ? '\\' : 'A' + m_random() % 26);
        }
    }
    return out;
}

bool CFloodPlan::Overhear(const uint8_t* data, size_t len) {
    CByteReader reader(data, len);
    const uint16_t type = reader.ReadU16();
    const uint16_t status = reader.ReadU16();
    const uint16_t sequence = reader.ReadU16();
    reader.Skip(2);  // wLength: a request of any length teaches its sequence number
    if (!reader.Ok() || (type != 16 && type != 17 && type != 19) || status != 0 || sequence == 0) {
        return false;
    }
    m_newestSequence = sequence;
    return true;
}

bool CFloodPlan::IsUsbRequest(const uint8_t* data, size_t len) {
    CByteReader reader(data, len);
    const uint16_t type = reader.ReadU16();
    return reader.Ok() && ((len == HEADER_SIZE && type == 32) || (len == USB_RECORD && type == 35));
}

uint16_t CFloodPlan::StaleSequence() {
    const unsigned choice = static_cast<unsigned>(m_random() % 4);
    if (choice == 0) {
        return 0;
    }
    if (choice == 1 || m_newestSequence <= 1) {
        return static_cast<uint16_t>(FLOOD_FIRST_UNUSED_SEQUENCE + m_random() % (65536 - FLOOD_FIRST_UNUSED_SEQUENCE));
    }
    // One of the numbers before the newest overheard: transactions that are over.
    const unsigned back = 1 + static_cast<unsigned>(m_random() % std::min<unsigned>(50, m_newestSequence - 1u));
    return static_cast<uint16_t>(m_newestSequence - back);
}

const FloodTarget& CFloodPlan::Pick(const std::vector<FloodTarget>& targets, bool usb) {
    std::vector<size_t> fitting;
    for (size_t i = 0; i < targets.size(); i++) {
        if ((targets[i].port == FLOOD_USB_PORT) == usb) {
            fitting.push_back(i);
        }
    }
    if (fitting.empty()) {
        return targets[m_random() % targets.size()];
    }
    return targets[fitting[m_random() % fitting.size()]];
}

FloodDatagram CFloodPlan::Next(const std::vector<FloodTarget>& targets) {
    int total = 0;
    for (int w : KIND_WEIGHTS) {
        total += w;
    }
    int roll = static_cast<int>(m_random() % static_cast<unsigned>(total));
    size_t k = 0;
    while (roll >= KIND_WEIGHTS[k]) {
        roll -= KIND_WEIGHTS[k++];
    }
    const FloodKind kind = static_cast<FloodKind>(k);
    FloodDatagram d{kind, {}, 0, 0, -1};
    bool usb = false;
    switch (kind) {
        case FloodKind::SIZE_SWEEP:
            d.bytes = RandomBytes(m_sweep);
            m_sweep = m_sweep == FLOOD_MAX_SIZE ? 0 : m_sweep + 1;
            usb = m_random() % 2 == 0;
            break;
        case FloodKind::RANDOM_BYTES:
            d.bytes = RandomBytes(m_random() % (FLOOD_MAX_SIZE + 1));
            usb = m_random() % 2 == 0;
            break;
        case FloodKind::WRONG_LENGTH: {
            static const uint16_t types[] = {16, 17, 19};
            const uint16_t type = m_random() % 4 == 0 ? static_cast<uint16_t>(m_random()) : types[m_random() % 3];
            const size_t payload = m_random() % (FLOOD_MAX_SIZE - HEADER_SIZE + 1);
            uint16_t length = static_cast<uint16_t>(m_random());
            if (length == payload) {
                length = static_cast<uint16_t>(payload + 1);
            }
            d.bytes = ConfigHeader(type, static_cast<int16_t>(m_random() % 2 ? 0 : -101), StaleSequence(), length);
            std::vector<uint8_t> rest = RandomBytes(payload);
            d.bytes.insert(d.bytes.end(), rest.begin(), rest.end());
            break;
        }
        case FloodKind::UNTERMINATED: {
            d.bytes = ConfigHeader(16, 0, StaleSequence(), INFO_PAYLOAD);
            for (size_t i = 0; i < INFO_PAYLOAD; i++) {
                d.bytes.push_back(static_cast<uint8_t>('A' + m_random() % 26));
            }
            break;
        }
        case FloodKind::STALE_SEQUENCE: {
            static const uint16_t types[] = {16, 17, 19};
            const uint16_t type = types[m_random() % 3];
            d.bytes = ConfigHeader(type, 0, StaleSequence(), type == 16 ? INFO_PAYLOAD : 0);
            if (type == 16) {
                std::vector<uint8_t> info(INFO_PAYLOAD, 0);
                const char name[] = "FLOODED";
                std::copy(name, name + sizeof name - 1, info.begin() + 20 + 6);
                d.bytes.insert(d.bytes.end(), info.begin(), info.end());
            }
            break;
        }
        case FloodKind::USB_NOTICE: {
            static const uint16_t types[] = {32, 32, 32, 33, 34, 36, 35};
            const uint16_t type = m_random() % 8 == 0 ? static_cast<uint16_t>(m_random()) : types[m_random() % 7];
            const unsigned l = static_cast<unsigned>(m_random() % 8);
            const uint16_t length = l == 0 ? 0 : l == 1 ? static_cast<uint16_t>(m_random()) : 256;
            d.bytes = UsbNotice(type, length, true);
            usb = true;
            break;
        }
        case FloodKind::USB_UNTERMINATED: {
            static const uint16_t types[] = {32, 33, 34, 36};
            d.bytes = UsbNotice(types[m_random() % 4], 256, false);
            usb = true;
            break;
        }
        case FloodKind::USB_SHORT:
            d.bytes = UsbNotice(static_cast<uint16_t>(32 + m_random() % 5), 256, true);
            d.bytes.resize(m_random() % USB_RECORD);
            usb = true;
            break;
        case FloodKind::KIND_COUNT:
            break;
    }
    const FloodTarget& target = Pick(targets, usb);
    d.port = target.port;
    d.destination = m_random() % 4 == 0 ? 0xFFFFFFFFu : target.address;
    if (m_spoofedSources > 0) {
        d.source = static_cast<int>(m_random() % static_cast<unsigned>(m_spoofedSources + 1)) - 1;
    }
    if (usb && m_knownAnnouncement) {
        d.source = -1;
    }
    m_counts[k]++;
    return d;
}
