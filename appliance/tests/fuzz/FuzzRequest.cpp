// libFuzzer target: arbitrary bytes as a datagram to either service (unicast or broadcast), or as control
// lines, through a fresh simulator each time; every log line is formatted as it would be written.
#include "ControlInterpreter.h"
#include "JsonLog.h"
#include "Simulator.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

class CFormatOnlyLog : public ISimulatorLog {
public:
    void Write(int64_t nowMs, const char* dir, const Datagram* d, const std::string& appliance,
               const std::string& note) override {
        m_total += CJsonLog::Format("t", nowMs, dir, d, appliance, note).size();
    }
    size_t m_total = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    CFormatOnlyLog log;
    CSimulator sim(&log, 1);
    std::string error;
    Appliance a = MakeAppliance("NAS1", 0xC612010A);
    a.password = "secret";
    a.disk = "\\\\NAS1\\usb";
    a.addressChange = AddressChange::Move;
    sim.AddAppliance(a, &error);
    sim.AddAppliance(MakeAppliance("NAS2", 0xC612010B), &error);
    sim.SetHostAddresses({0xC612010A, 0xC612010B, 0xC6120114});
    // The second byte picks fault modes, so that every reply path runs on fuzzed requests.
    uint8_t faults = data[1];
    for (Appliance* target : sim.Select("*")) {
        target->faults.twice = faults & 1;
        target->faults.staleSequence = faults & 2;
        target->faults.wrongType = faults & 4;
        target->faults.unterminated = faults & 8;
        target->faults.fromOther = faults & 16;
        target->faults.shortLength = (faults & 32) ? 5 : -1;
        target->faults.longLength = (faults & 64) ? 1100 : -1;
        target->eject = static_cast<EjectMode>(faults >> 6);
    }
    const uint8_t* body = data + 2;
    size_t bodySize = size - 2;
    switch (data[0] % 5) {
        case 4: {
            CControlInterpreter control(sim);
            std::string text(reinterpret_cast<const char*>(body), bodySize);
            bool quit = false;
            size_t pos = 0;
            while (pos <= text.size()) {
                size_t eol = text.find('\n', pos);
                if (eol == std::string::npos) eol = text.size();
                control.Execute(0, text.substr(pos, eol - pos), &quit);
                pos = eol + 1;
            }
            break;
        }
        default: {
            Datagram in;
            in.localPort = (data[0] & 1) ? 917 : 915;
            in.localAddress = (data[0] & 2) ? 0xFFFFFFFF : 0xC612010A;
            in.peerAddress = 0xC6120101;
            in.peerPort = 40000;
            in.bytes.assign(body, body + bodySize);
            sim.OnDatagram(0, in);
            // The same bytes again: the first may have changed the record or moved the appliance.
            sim.OnDatagram(1, in);
            break;
        }
    }
    sim.TakeDue(1000000);
    return 0;
}
