// Helpers of the simulator's native tests: a log that keeps its records, and requests built byte by byte
// from the wire layout (not with the codec under test).
#pragma once

#include "Simulator.h"

#include <cstdint>
#include <string>
#include <vector>

struct LogRecord {
    int64_t ms;
    std::string dir;
    bool hasDatagram;
    Datagram datagram;
    std::string appliance;
    std::string note;
};

class CCaptureLog : public ISimulatorLog {
public:
    void Write(int64_t nowMs, const char* dir, const Datagram* datagram, const std::string& appliance,
               const std::string& note) override {
        m_records.push_back({nowMs, dir, datagram != nullptr, datagram ? *datagram : Datagram(), appliance, note});
    }
    std::vector<LogRecord> Records(const std::string& dir) const {
        std::vector<LogRecord> out;
        for (const LogRecord& r : m_records) {
            if (r.dir == dir) out.push_back(r);
        }
        return out;
    }
    std::vector<LogRecord> m_records;
};

constexpr uint32_t PC = 0xC6120101;     // 198.18.1.1
constexpr uint32_t A1 = 0xC612010A;     // 198.18.1.10
constexpr uint32_t A2 = 0xC612010B;     // 198.18.1.11
constexpr uint32_t A3 = 0xC612010C;     // 198.18.1.12
constexpr uint32_t SPARE = 0xC6120114;  // 198.18.1.20
constexpr uint16_t PC_PORT = 40000;

inline Bytes Header(uint16_t type, uint16_t status, uint16_t sequence, uint16_t length) {
    return {uint8_t(type),     uint8_t(type >> 8),     uint8_t(status), uint8_t(status >> 8),
            uint8_t(sequence), uint8_t(sequence >> 8), uint8_t(length), uint8_t(length >> 8)};
}

inline Datagram ToConfig(uint32_t destination, Bytes bytes) {
    Datagram d;
    d.localAddress = destination;
    d.localPort = 915;
    d.peerAddress = PC;
    d.peerPort = PC_PORT;
    d.bytes = std::move(bytes);
    return d;
}

inline Datagram ToUsb(uint32_t destination, Bytes bytes) {
    Datagram d = ToConfig(destination, std::move(bytes));
    d.localPort = 917;
    return d;
}

inline Bytes GetInfoRequest(uint16_t sequence) {
    return Header(16, 0, sequence, 0);
}

inline Bytes SetConfigRequest(uint16_t sequence, const uint8_t* record234) {
    Bytes b = Header(17, 0, sequence, 234);
    b.insert(b.end(), record234, record234 + 234);
    return b;
}

inline Bytes PasswordRequest(uint16_t sequence, const uint8_t mac[6], const std::string& password) {
    Bytes b = Header(19, 0, sequence, 21);
    b.insert(b.end(), mac, mac + 6);
    Bytes field(15, 0);
    for (size_t i = 0; i < password.size() && i < 15; ++i) field[i] = uint8_t(password[i]);
    b.insert(b.end(), field.begin(), field.end());
    return b;
}

inline Bytes EjectRequest(const std::string& server) {
    Bytes b = {0x23, 0, 0, 0, 0, 0, 0, 0x01};
    b.resize(264, 0);
    for (size_t i = 0; i < server.size(); ++i) b[8 + i] = uint8_t(server[i]);
    return b;
}

inline uint16_t U16At(const Bytes& b, size_t offset) {
    return uint16_t(b[offset] | (b[offset + 1] << 8));
}

inline std::string TextAt(const Bytes& b, size_t offset, size_t width) {
    std::string s;
    for (size_t i = 0; i < width && b[offset + i]; ++i) s += char(b[offset + i]);
    return s;
}
