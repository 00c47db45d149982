// The simulator's core: many appliances behind the two UDP services of one host, without sockets.
// Datagrams come in through OnDatagram, replies and notices wait in an outbox on a millisecond clock that
// the caller supplies (the real one in zsim, a virtual one in the tests), and every datagram and decision
// goes to the log.
#pragma once

#include "Appliance.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

constexpr uint32_t BROADCAST_ADDRESS = 0xFFFFFFFF;

struct Datagram {
    uint32_t localAddress = 0;  // host byte order; for a received datagram, its destination
    uint16_t localPort = 0;
    uint32_t peerAddress = 0;
    uint16_t peerPort = 0;
    Bytes bytes;
};

class ISimulatorLog {
public:
    virtual ~ISimulatorLog() = default;
    // dir: "rx", "tx", "drop" (composed, not sent) or "event" (then datagram may be null).
    virtual void Write(int64_t nowMs, const char* dir, const Datagram* datagram, const std::string& appliance,
                       const std::string& note) = 0;
};

class CSimulator {
public:
    CSimulator(ISimulatorLog* log, uint32_t seed);

    bool AddAppliance(const Appliance& appliance, std::string* error);
    // The addresses the host owns: sources for "from-other" replies.
    void SetHostAddresses(const std::vector<uint32_t>& addresses) { m_hostAddresses = addresses; }
    // Called before an appliance moves to an address; returns false when the host cannot take it.
    void SetAddressHook(std::function<bool(uint32_t)> hook) { m_addressHook = std::move(hook); }

    void OnDatagram(int64_t nowMs, const Datagram& in);
    std::vector<Datagram> TakeDue(int64_t nowMs);
    int64_t NextDue() const;  // -1 when the outbox is empty
    // Empties the outbox at shutdown; each datagram not yet due is logged as dropped.
    void DiscardPending(int64_t nowMs);

    // A notice of type 32, 33, 34 or 36 from the appliance's port 917 to port 917 of `to`.
    bool SendNotice(int64_t nowMs, Appliance& appliance, uint16_t type, uint32_t to, const std::string& name,
                    std::string* error);

    // By name or by dotted address; "*" selects all.
    Appliance* Find(const std::string& key);
    std::vector<Appliance*> Select(const std::string& key);
    const std::vector<std::unique_ptr<Appliance>>& Appliances() const { return m_appliances; }
    bool IsOwnAddress(uint32_t address) const;

    void LogEvent(int64_t nowMs, const std::string& appliance, const std::string& note);
    // Restarts the random choices of the drop-* modes as if zsim had been started with --seed.
    void Reseed(uint32_t seed) { m_random.seed(seed); }

private:
    struct Pending {
        int64_t dueMs;
        uint64_t order;
        std::string appliance;
        std::string note;
        Datagram datagram;
    };

    std::vector<Appliance*> Reached(uint32_t destination);
    // Logs a received request: ignored for the parser's reason, or how many appliances it reaches; true for the latter.
    bool LogRequest(int64_t nowMs, const Datagram& in, bool unicast, const std::vector<Appliance*>& reached,
                    bool parsed, const std::string& reason);
    void OnConfigRequest(int64_t nowMs, const Datagram& in, bool unicast, std::vector<Appliance*>& reached);
    void OnUsbRequest(int64_t nowMs, const Datagram& in, bool unicast, std::vector<Appliance*>& reached);
    bool DropRoll(int percent);
    // The request-side fault modes; true when this appliance ignores the request.
    bool DropRequest(int64_t nowMs, Appliance& a, bool unicast, const char* type);
    // Applies the byte and address faults, then queues (or drops) the reply.
    void Reply(int64_t nowMs, Appliance& a, const Datagram& request, Bytes packet, bool headerHasSequence,
               const std::string& note);
    void Queue(int64_t dueMs, const std::string& appliance, const std::string& note, Datagram d);
    void MoveAddress(int64_t nowMs, Appliance& a, uint32_t address);
    uint32_t OtherAddress(const Appliance& a) const;

    ISimulatorLog* m_log;
    std::mt19937 m_random;
    std::vector<std::unique_ptr<Appliance>> m_appliances;
    std::unordered_map<uint32_t, Appliance*> m_byAddress;
    std::map<std::string, Appliance*> m_byName;
    std::vector<uint32_t> m_hostAddresses;
    std::function<bool(uint32_t)> m_addressHook;
    std::vector<Pending> m_outbox;  // kept as a heap on (dueMs, order)
    uint64_t m_order = 0;
};
