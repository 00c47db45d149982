// The simulator's core: which appliances a datagram reaches, what each answers, and the fault modes.
#include "Simulator.h"

#include "TextFormat.h"
#include "UsbPacket.h"

#include <algorithm>
#include <cstring>

static bool Later(const auto& a, const auto& b) {
    return a.dueMs != b.dueMs ? a.dueMs > b.dueMs : a.order > b.order;
}

CSimulator::CSimulator(ISimulatorLog* log, uint32_t seed) : m_log(log), m_random(seed) {}

bool CSimulator::AddAppliance(const Appliance& appliance, std::string* error) {
    if (appliance.name.empty() || appliance.name.find_first_of(" \t*") != std::string::npos) {
        *error = "an appliance name is one word without '*'";
        return false;
    }
    if (m_byName.count(appliance.name)) {
        *error = "two appliances are named " + appliance.name;
        return false;
    }
    if (m_byAddress.count(appliance.address)) {
        *error = "two appliances have the address " + FormatAddress(appliance.address);
        return false;
    }
    for (const auto& other : m_appliances) {
        if (memcmp(other->record.data(), appliance.record.data(), 6) == 0) {
            *error = appliance.name + " has the MAC of " + other->name;
            return false;
        }
    }
    m_appliances.push_back(std::make_unique<Appliance>(appliance));
    Appliance* a = m_appliances.back().get();
    m_byName[a->name] = a;
    m_byAddress[a->address] = a;
    return true;
}

Appliance* CSimulator::Find(const std::string& key) {
    auto byName = m_byName.find(key);
    if (byName != m_byName.end()) return byName->second;
    uint32_t address;
    if (ParseAddress(key, &address)) {
        auto byAddress = m_byAddress.find(address);
        if (byAddress != m_byAddress.end()) return byAddress->second;
    }
    return nullptr;
}

std::vector<Appliance*> CSimulator::Select(const std::string& key) {
    std::vector<Appliance*> out;
    if (key == "*") {
        for (auto& a : m_appliances) out.push_back(a.get());
    } else if (Appliance* a = Find(key)) {
        out.push_back(a);
    }
    return out;
}

bool CSimulator::IsOwnAddress(uint32_t address) const {
    return m_byAddress.count(address) ||
           std::find(m_hostAddresses.begin(), m_hostAddresses.end(), address) != m_hostAddresses.end();
}

void CSimulator::LogEvent(int64_t nowMs, const std::string& appliance, const std::string& note) {
    m_log->Write(nowMs, "event", nullptr, appliance, note);
}

std::vector<Appliance*> CSimulator::Reached(uint32_t destination) {
    std::vector<Appliance*> out;
    auto it = m_byAddress.find(destination);
    if (it != m_byAddress.end()) {
        out.push_back(it->second);
        return out;
    }
    for (auto& a : m_appliances) {
        // A directed broadcast reaches the appliances whose own subnet it names.
        uint32_t mask = GetAddressField(a->record, Settings::abSubnetMask);
        if (destination == BROADCAST_ADDRESS || (mask && (a->address | ~mask) == destination)) out.push_back(a.get());
    }
    return out;
}

bool CSimulator::DropRoll(int percent) {
    if (percent <= 0) return false;
    if (percent >= 100) return true;
    return static_cast<int>(m_random() % 100) < percent;
}

bool CSimulator::DropRequest(int64_t nowMs, Appliance& a, bool unicast, const char* type) {
    FaultModes& f = a.faults;
    const char* why = nullptr;
    if (f.ignore == FaultModes::Ignore::Unicast && unicast)
        why = "ignore=unicast";
    else if (f.ignore == FaultModes::Ignore::Broadcast && !unicast)
        why = "ignore=broadcast";
    else if (f.dropFirst > 0) {
        --f.dropFirst;
        why = "drop-first";
    } else if (DropRoll(f.dropRequestsPercent))
        why = "drop-requests";
    if (!why) return false;
    a.counters.droppedRequests++;
    LogEvent(nowMs, a.name, std::string("dropped request ") + type + " (" + why + ")");
    return true;
}

void CSimulator::OnDatagram(int64_t nowMs, const Datagram& in) {
    std::vector<Appliance*> reached = Reached(in.localAddress);
    bool unicast = reached.size() == 1 && reached[0]->address == in.localAddress;
    std::string target = unicast ? reached[0]->name : std::string("*");
    if (IsOwnAddress(in.peerAddress)) {
        m_log->Write(nowMs, "rx", &in, target, "from this host, ignored");
        return;
    }
    if (in.localPort == CONFIG_PORT)
        OnConfigRequest(nowMs, in, unicast, reached);
    else if (in.localPort == USB_SERVICE_PORT)
        OnUsbRequest(nowMs, in, unicast, reached);
    else
        m_log->Write(nowMs, "rx", &in, target, "no service on this port, ignored");
}

bool CSimulator::LogRequest(int64_t nowMs, const Datagram& in, bool unicast, const std::vector<Appliance*>& reached,
                            bool parsed, const std::string& reason) {
    std::string target = unicast ? reached[0]->name : std::string("*");
    if (!parsed) {
        m_log->Write(nowMs, "rx", &in, target, "ignored: " + reason);
        return false;
    }
    m_log->Write(nowMs, "rx", &in, target, "reaches " + std::to_string(reached.size()) + " appliance(s)");
    return true;
}

void CSimulator::OnConfigRequest(int64_t nowMs, const Datagram& in, bool unicast, std::vector<Appliance*>& reached) {
    ConfigRequest request;
    std::string reason;
    bool parsed = ParseConfigRequest(in.bytes.data(), in.bytes.size(), &request, &reason);
    if (!LogRequest(nowMs, in, unicast, reached, parsed, reason)) return;
    const PacketHeader& h = request.header;
    for (Appliance* a : reached) {
        if (h.wType != PKT_GET_INFO && memcmp(request.mac, a->record.data() + Settings::abMac, 6) != 0) {
            // A broadcast write names one appliance by its MAC; the others keep silent.
            if (unicast) LogEvent(nowMs, a->name, "foreign MAC " + FormatMac(request.mac) + ", ignored");
            continue;
        }
        if (DropRequest(nowMs, *a, unicast, ConfigTypeName(h.wType))) continue;
        if (h.wType == PKT_GET_INFO) {
            a->counters.getInfo++;
            DeviceInfoFields fields;
            fields.wState = a->faults.state1 ? 1 : a->state;
            fields.bPasswordSet = a->password.empty() ? 0 : 1;
            fields.infoText = a->infoText;
            fields.settings = a->record;
            Bytes info = BuildDeviceInfo(fields);
            if (a->faults.unterminated) {
                FillUnterminated(info.data() + Info::szInfoText.offset, Info::szInfoText.width, 'A');
                for (const TextField& f : Settings::textFields)
                    FillUnterminated(info.data() + Info::settings + f.offset, f.width, 'a');
            }
            Reply(nowMs, *a, in, BuildConfigPacket(PKT_GET_INFO, STATUS_OK, h.wSequence, info.data(), info.size()),
                  true, "info");
        } else if (h.wType == PKT_SET_CONFIG) {
            a->counters.setConfig++;
            int16_t status = a->setConfigResult;
            bool stored = status == STATUS_OK;
            if (stored) a->record = request.settings;
            Reply(nowMs, *a, in, BuildConfigPacket(PKT_SET_CONFIG, status, h.wSequence, nullptr, 0), true,
                  stored ? "record stored" : "refused with " + std::to_string(status));
            if (stored && a->addressChange == AddressChange::Move && a->record[Settings::bFixedIp] == 1)
                MoveAddress(nowMs, *a, GetAddressField(a->record, Settings::abIpAddress));
        } else {
            a->counters.checkPassword++;
            bool right = a->password.empty() || (request.passwordTerminated && request.password == a->password);
            Reply(nowMs, *a, in,
                  BuildConfigPacket(PKT_CHECK_PASSWORD, right ? STATUS_OK : STATUS_WRONG_PASSWORD, h.wSequence, nullptr,
                                    0),
                  true, right ? "password right" : "password wrong");
        }
    }
}

void CSimulator::OnUsbRequest(int64_t nowMs, const Datagram& in, bool unicast, std::vector<Appliance*>& reached) {
    UsbRequest request;
    std::string reason;
    bool parsed = ParseUsbRequest(in.bytes.data(), in.bytes.size(), &request, &reason);
    if (!LogRequest(nowMs, in, unicast, reached, parsed, reason)) return;
    for (Appliance* a : reached) {
        if (request.wType == PKT_EJECT) {
            // The eject request names the appliance by its server name.
            std::string server = GetText(a->record, Settings::szServerName);
            if (request.serverName != server && (a->disk.empty() || request.serverName != ServerPart(a->disk)))
                continue;
        }
        if (DropRequest(nowMs, *a, unicast, UsbTypeName(request.wType))) continue;
        if (request.wType == PKT_DISK_INFO) {
            a->counters.discovery++;
            Reply(nowMs, *a, in, BuildUsbPacket(PKT_DISK_INFO, 0, a->disk), false,
                  a->disk.empty() ? "no disk" : "disk");
            continue;
        }
        a->counters.eject++;
        if (a->disk.empty()) {
            Reply(nowMs, *a, in, BuildUsbPacket(PKT_EJECT, 0, std::string()), false, "eject: no disk");
            continue;
        }
        switch (a->eject) {
            case EjectMode::Success: {
                std::string path = a->disk;
                a->disk.clear();
                Reply(nowMs, *a, in, BuildUsbPacket(PKT_EJECTED, 0, path), false, "eject: ejected, disk gone");
                break;
            }
            case EjectMode::InUse:
                Reply(nowMs, *a, in, BuildUsbPacket(PKT_EJECT, STATUS_IN_USE, a->disk), false, "eject: disk in use");
                break;
            case EjectMode::OtherType:
                Reply(nowMs, *a, in, BuildUsbPacket(PKT_DISK_INFO, 0, a->disk), false, "eject: other type, kept");
                break;
            case EjectMode::Silent:
                LogEvent(nowMs, a->name, "eject: silent");
                break;
        }
    }
}

static void ApplyLengthFaults(const FaultModes& f, Bytes& packet) {
    if (f.shortLength >= 0 && static_cast<size_t>(f.shortLength) < packet.size())
        packet.resize(static_cast<size_t>(f.shortLength));
    if (f.longLength >= 0 && static_cast<size_t>(f.longLength) > packet.size())
        packet.resize(static_cast<size_t>(f.longLength), 0xEE);
}

void CSimulator::Reply(int64_t nowMs, Appliance& a, const Datagram& request, Bytes packet, bool config,
                       const std::string& note) {
    const FaultModes& f = a.faults;
    std::string faults;
    if (f.wrongType) {
        uint16_t type = static_cast<uint16_t>((packet[0] | (packet[1] << 8)) + 1);
        packet[0] = static_cast<uint8_t>(type);
        packet[1] = static_cast<uint8_t>(type >> 8);
        faults += " wrong-type";
    }
    if (f.staleSequence && config) {
        uint16_t sequence = static_cast<uint16_t>((packet[4] | (packet[5] << 8)) - 1);
        packet[4] = static_cast<uint8_t>(sequence);
        packet[5] = static_cast<uint8_t>(sequence >> 8);
        faults += " stale-seq";
    }
    if (f.unterminated && !config) {
        size_t end = HEADER_SIZE;
        while (end < USB_PACKET_SIZE && packet[end]) ++end;
        for (size_t i = end; i < USB_PACKET_SIZE; ++i) packet[i] = 'x';
        faults += " unterminated";
    }
    ApplyLengthFaults(f, packet);
    Datagram out;
    out.localAddress = a.address;
    out.localPort = request.localPort;
    out.peerAddress = request.peerAddress;
    out.peerPort = request.peerPort;
    out.bytes = std::move(packet);
    if (f.fromOther) {
        uint32_t other = OtherAddress(a);
        if (other) {
            out.localAddress = other;
            faults += " from-other";
        } else {
            LogEvent(nowMs, a.name, "from-other: the host has no other address; sent from the appliance's own");
        }
    }
    std::string fullNote = faults.empty() ? note : note + ";" + faults;
    if (DropRoll(f.dropRepliesPercent)) {
        a.counters.droppedReplies++;
        m_log->Write(nowMs, "drop", &out, a.name, fullNote);
        return;
    }
    a.counters.replies++;
    int64_t dueMs = nowMs + f.lateMs;
    if (f.spreadMs > 0) dueMs += static_cast<int64_t>(m_random() % (static_cast<uint32_t>(f.spreadMs) + 1));
    if (f.twice) Queue(dueMs, a.name, fullNote + " (first of two)", out);
    Queue(dueMs, a.name, fullNote, std::move(out));
}

uint32_t CSimulator::OtherAddress(const Appliance& a) const {
    if (a.faults.otherAddress) return a.faults.otherAddress;
    for (uint32_t address : m_hostAddresses) {
        if (address != a.address) return address;
    }
    return 0;
}

void CSimulator::MoveAddress(int64_t nowMs, Appliance& a, uint32_t address) {
    if (address == a.address || address == 0) return;
    auto holder = m_byAddress.find(address);
    if (holder != m_byAddress.end()) {
        LogEvent(nowMs, a.name, FormatAddress(address) + " belongs to " + holder->second->name + "; address kept");
        return;
    }
    if (m_addressHook && !m_addressHook(address)) {
        LogEvent(nowMs, a.name, "the host cannot take " + FormatAddress(address) + "; address kept");
        return;
    }
    std::string note = "moved from " + FormatAddress(a.address) + " to " + FormatAddress(address);
    m_byAddress.erase(a.address);
    a.address = address;
    m_byAddress[address] = &a;
    LogEvent(nowMs, a.name, note);
}

bool CSimulator::SendNotice(int64_t nowMs, Appliance& a, uint16_t type, uint32_t to, const std::string& name,
                            std::string* error) {
    if (type != PKT_DISK_INFO && type != PKT_EJECTED && type != PKT_REMOVED && type != PKT_WRONG_PORT) {
        *error = "a notice has type 32, 33, 34 or 36";
        return false;
    }
    if (name.size() >= USB_NAME_SIZE) {
        *error = "a notice name holds at most 255 characters";
        return false;
    }
    Bytes packet = BuildUsbPacket(type, 0, name);
    if (a.faults.unterminated) {
        for (size_t i = HEADER_SIZE + name.size(); i < USB_PACKET_SIZE; ++i) packet[i] = 'x';
    }
    ApplyLengthFaults(a.faults, packet);
    Datagram out;
    out.localAddress = a.address;
    out.localPort = USB_SERVICE_PORT;
    out.peerAddress = to;
    out.peerPort = USB_SERVICE_PORT;
    out.bytes = std::move(packet);
    a.counters.notices++;
    Queue(nowMs + a.faults.lateMs, a.name, std::string("notice ") + UsbTypeName(type), std::move(out));
    return true;
}

void CSimulator::Queue(int64_t dueMs, const std::string& appliance, const std::string& note, Datagram d) {
    m_outbox.push_back(Pending{dueMs, m_order++, appliance, note, std::move(d)});
    std::push_heap(m_outbox.begin(), m_outbox.end(), [](const Pending& x, const Pending& y) { return Later(x, y); });
}

int64_t CSimulator::NextDue() const {
    return m_outbox.empty() ? -1 : m_outbox.front().dueMs;
}

std::vector<Datagram> CSimulator::TakeDue(int64_t nowMs) {
    std::vector<Datagram> due;
    while (!m_outbox.empty() && m_outbox.front().dueMs <= nowMs) {
        std::pop_heap(m_outbox.begin(), m_outbox.end(), [](const Pending& x, const Pending& y) { return Later(x, y); });
        Pending p = std::move(m_outbox.back());
        m_outbox.pop_back();
        m_log->Write(nowMs, "tx", &p.datagram, p.appliance, p.note);
        due.push_back(std::move(p.datagram));
    }
    return due;
}

void CSimulator::DiscardPending(int64_t nowMs) {
    for (const Pending& p : m_outbox)
        m_log->Write(nowMs, "drop", &p.datagram, p.appliance, p.note + "; not sent: zsim stopped before it was due");
    m_outbox.clear();
}
