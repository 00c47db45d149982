// An IUsbSocket on a virtual clock for the native tests and fuzz targets: datagrams are scripted per opened
// socket with their arrival time after the send, and every call is recorded.
#pragma once

#include "../UsbSocket.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

class CScriptedUsbSocket : public IUsbSocket {
public:
    struct Datagram {
        uint32_t arrivalMs;  // after the socket's send
        std::vector<uint8_t> bytes;
        uint32_t sender;
    };
    struct Sent {
        int socketIndex;
        uint32_t localAddress;
        uint64_t atMs;
        std::vector<uint8_t> bytes;
    };

    // Datagrams that reach the socket opened as number index (0 = first Open).
    void Script(int index, Datagram datagram) { m_script[index].push_back(std::move(datagram)); }
    // The call of that name fails the nth time (1 = first) it is made.
    void FailAt(const std::string& call, int nth) { m_failures[call] = nth; }

    bool Open(uint32_t localAddress) override {
        if (Fails("Open")) return false;
        m_open = true;
        m_index++;
        m_localAddress = localAddress;
        m_openedOn.push_back(localAddress);
        m_sentAt = m_nowMs;
        return true;
    }
    bool SendBroadcast(const uint8_t* data, size_t len) override {
        if (!m_open || Fails("SendBroadcast")) return false;
        m_sentAt = m_nowMs;
        m_sent.push_back({m_index, m_localAddress, m_nowMs, std::vector<uint8_t>(data, data + len)});
        return true;
    }
    WaitResult WaitReadable(uint32_t timeoutMs) override {
        m_waits.push_back(timeoutMs);
        if (!m_open || Fails("WaitReadable")) return SELECT_FAILED;
        auto& queue = m_script[m_index];
        if (!queue.empty()) {
            uint64_t arrival = m_sentAt + queue.front().arrivalMs;
            if (arrival <= m_nowMs + timeoutMs) {
                if (arrival > m_nowMs) m_nowMs = arrival;
                return READABLE;
            }
        }
        m_nowMs += timeoutMs;
        return TIMED_OUT;
    }
    bool Receive(uint8_t* buffer, size_t cap, size_t& received, uint32_t& sender) override {
        auto& queue = m_script[m_index];
        if (!m_open || queue.empty() || Fails("Receive")) return false;
        const Datagram& d = queue.front();
        received = std::min(cap, d.bytes.size());
        std::copy(d.bytes.begin(), d.bytes.begin() + static_cast<long>(received), buffer);
        sender = d.sender;
        queue.pop_front();
        return true;
    }
    void Close() override {
        if (m_open) m_closes++;
        m_open = false;
    }

    uint64_t NowMs() override { return m_nowMs; }
    bool IsOpen() const { return m_open; }
    int Opens() const { return m_index + 1; }
    int Closes() const { return m_closes; }
    const std::vector<Sent>& SentDatagrams() const { return m_sent; }
    const std::vector<uint32_t>& OpenedOn() const { return m_openedOn; }
    const std::vector<uint32_t>& Waits() const { return m_waits; }

private:
    bool Fails(const std::string& call) {
        auto it = m_failures.find(call);
        if (it == m_failures.end()) return false;
        return --it->second == 0;
    }

    std::map<int, std::deque<Datagram>> m_script;
    std::map<std::string, int> m_failures;
    std::vector<Sent> m_sent;
    std::vector<uint32_t> m_openedOn;
    std::vector<uint32_t> m_waits;
    uint64_t m_nowMs = 0;
    uint64_t m_sentAt = 0;
    uint32_t m_localAddress = 0;
    int m_index = -1;
    int m_closes = 0;
    bool m_open = false;
};
