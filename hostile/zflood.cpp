// zflood: a hostile host for the lab. From a lab host it floods the PC's ports (the wizard's channels and
// the tray utility's port 917) with the malformed datagrams of CFloodPlan, at a given rate for a given time,
// from its own address and from spoofed ones (raw sockets), by broadcast and to the PC. It also listens on
// ports 915 and 917 of its host, as any host on the segment can: the wizard's and the utility's broadcasts
// tell it further ports to flood and the sequence numbers in use. Refuses to run outside a lab namespace.
//
//   zflood [--seed N] [--rate PER_SECOND] [--duration SECONDS] [--target ADDR:PORT]... [--targets-file FILE]
//          [--spoof ADDR]... [--spoof-config ADDR]... [--report FILE]
//
// --spoof sources are used for every kind, --spoof-config ones only for the port-915 kinds (an appliance's
// address, say, whose replies are forged while its disk notices are left to it).
// --targets-file is read again four times a second; a line "stop" ends the flood. The flood starts with the
// first target given (on the command line or in the file), so that a test decides when; ports learned from
// the segment join it from then on. Until then the flooder waits with its sockets open, so that the lab's
// start-up sees it ready. Every address must lie in
// the lab's 198.18.0.0/15.
#include "FloodPlan.h"
#include "FloodTargets.h"
#include "LabGuard.h"
#include "SpoofedDatagram.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t MAX_LEARNED_TARGETS = 64;

struct Options {
    uint64_t seed = 1;
    double rate = 200;
    double duration = 60;
    std::vector<FloodTarget> targets;
    std::string targetsFile;
    std::vector<uint32_t> spoofed;
    size_t spoofedForAll = 0;  // the first ones, from --spoof; the rest came with --spoof-config
    std::string report;
};

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr, "zflood: %s\n", why);
    std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    std::vector<uint32_t> spoofAll, spoofConfig;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage(("missing value of " + arg).c_str());
            return argv[++i];
        };
        if (arg == "--seed") {
            o.seed = std::stoull(value());
        } else if (arg == "--rate") {
            o.rate = std::stod(value());
        } else if (arg == "--duration") {
            o.duration = std::stod(value());
        } else if (arg == "--target") {
            FloodTarget t{};
            if (!ParseTarget(value(), t)) Usage("a target must be ADDR:PORT inside 198.18.0.0/15");
            o.targets.push_back(t);
        } else if (arg == "--targets-file") {
            o.targetsFile = value();
        } else if (arg == "--spoof" || arg == "--spoof-config") {
            uint32_t a = 0;
            if (!ParseAddress(value(), a) || !IsLabAddress(a) || a == 0xFFFFFFFFu)
                Usage("a spoofed source must be an address inside 198.18.0.0/15");
            (arg == "--spoof" ? spoofAll : spoofConfig).push_back(a);
        } else if (arg == "--report") {
            o.report = value();
        } else {
            Usage(("unknown option " + arg).c_str());
        }
    }
    if (o.rate <= 0 || o.rate > 100000) Usage("--rate must be in 0..100000");
    o.spoofed = spoofAll;
    o.spoofedForAll = spoofAll.size();
    o.spoofed.insert(o.spoofed.end(), spoofConfig.begin(), spoofConfig.end());
    return o;
}

int OpenUdp(uint16_t port) {
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) return -1;
    int on = 1;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        close(s);
        return -1;
    }
    fcntl(s, F_SETFL, O_NONBLOCK);
    return s;
}

// One UDP datagram with a chosen source, through a raw socket (the kernel fills in the IP checksum).
bool SendSpoofed(int raw, uint32_t source, uint16_t sourcePort, const FloodDatagram& d) {
    const std::vector<uint8_t> packet = BuildSpoofedDatagram(source, sourcePort, d.destination, d.port, d.bytes);
    if (packet.empty()) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(d.destination);
    return sendto(raw, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
           static_cast<ssize_t>(packet.size());
}

bool SendOwn(int s, const FloodDatagram& d) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(d.port);
    to.sin_addr.s_addr = htonl(d.destination);
    static const uint8_t nothing = 0;  // an empty datagram still needs a buffer to point at
    const uint8_t* data = d.bytes.empty() ? &nothing : d.bytes.data();
    return sendto(s, data, d.bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) >= 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsOwnAddress(uint32_t address, const std::vector<uint32_t>& own) {
    for (uint32_t a : own)
        if (a == address) return true;
    return false;
}

std::vector<uint32_t> OwnAddresses() {
    std::vector<uint32_t> own;
    std::ifstream in("/proc/net/fib_trie");
    std::string line, previous;
    while (std::getline(in, line)) {
        if (line.find("/32 host LOCAL") != std::string::npos) {
            std::istringstream words(previous);
            std::string dash, address;
            words >> dash >> address;
            uint32_t a = 0;
            if (ParseAddress(address, a)) own.push_back(a);
        }
        previous = line;
    }
    return own;
}

}  // namespace

int main(int argc, char** argv) {
    RequireLabNamespace("zflood");
    Options o = ParseOptions(argc, argv);

    // The sending sockets are also the listening ones: replies of the configuration kinds leave from 915,
    // notices from 917, as an appliance's would.
    const int config = OpenUdp(FLOOD_CONFIG_PORT);
    const int usb = OpenUdp(FLOOD_USB_PORT);
    if (config < 0 || usb < 0) {
        std::perror("zflood: ports 915 and 917");
        return 1;
    }
    int raw = -1;
    if (!o.spoofed.empty()) {
        raw = socket(AF_INET, SOCK_RAW, IPPROTO_RAW);
        if (raw < 0) {
            std::perror("zflood: raw socket");
            return 1;
        }
        int on = 1;
        setsockopt(raw, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    }
    const std::vector<uint32_t> own = OwnAddresses();

    CFloodPlan plan(o.seed, static_cast<int>(o.spoofed.size()));
    std::vector<FloodTarget> fileTargets, learned;
    bool stop = false;
    uint64_t sent = 0, failed = 0, overheard = 0, rejectedLines = 0;
    Clock::time_point started{}, nextRead = Clock::now();
    double budget = 0;
    Clock::time_point lastTick = Clock::now();
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (!o.targetsFile.empty() && now >= nextRead) {
            TargetList list = ParseTargetList(ReadFile(o.targetsFile));
            fileTargets = list.targets;
            plan.SetKnownNames(list.names);
            rejectedLines += list.rejected.size();
            stop = stop || list.stop;
            nextRead = now + std::chrono::milliseconds(250);
        }
        // What the segment's broadcasts teach: ports in use on the PC and the wizard's sequence numbers.
        for (int s : {config, usb}) {
            uint8_t buffer[2048];
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            ssize_t got;
            while ((got = recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLen)) >= 0) {
                const uint32_t sender = ntohl(from.sin_addr.s_addr);
                fromLen = sizeof from;
                if (IsOwnAddress(sender, own) || !IsLabAddress(sender)) continue;
                const size_t size = static_cast<size_t>(got);
                const bool request = s == config ? plan.Overhear(buffer, size) : CFloodPlan::IsUsbRequest(buffer, size);
                if (!request) continue;
                overheard++;
                const FloodTarget t{sender, ntohs(from.sin_port)};
                bool known = false;
                for (const FloodTarget& k : learned) known = known || (k.address == t.address && k.port == t.port);
                if (!known && learned.size() < MAX_LEARNED_TARGETS) learned.push_back(t);
            }
        }
        std::vector<FloodTarget> targets = o.targets;
        targets.insert(targets.end(), fileTargets.begin(), fileTargets.end());
        if (!targets.empty() || started != Clock::time_point{}) {
            targets.insert(targets.end(), learned.begin(), learned.end());
        }
        if (stop) break;
        if (targets.empty()) {
            lastTick = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        if (started == Clock::time_point{}) {
            started = now;
            std::fprintf(stderr, "zflood: flooding %zu target(s) at %.0f datagrams/s, seed %llu\n", targets.size(),
                         o.rate, static_cast<unsigned long long>(o.seed));
        }
        if (std::chrono::duration<double>(now - started).count() >= o.duration) break;
        budget += std::chrono::duration<double>(now - lastTick).count() * o.rate;
        lastTick = now;
        budget = std::min(budget, o.rate);  // after a stall, no burst of more than a second's worth
        while (budget >= 1) {
            budget -= 1;
            FloodDatagram d = plan.Next(targets);
            const bool isUsb = d.kind >= FloodKind::USB_NOTICE;
            const size_t source = static_cast<size_t>(d.source);
            bool ok;
            if (d.source >= 0 && raw >= 0 && d.bytes.size() <= MAX_SPOOFED_PAYLOAD &&
                (!isUsb || source < o.spoofedForAll)) {
                ok = SendSpoofed(raw, o.spoofed[source], isUsb ? FLOOD_USB_PORT : FLOOD_CONFIG_PORT, d);
            } else {
                ok = SendOwn(isUsb ? usb : config, d);
            }
            ok ? sent++ : failed++;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    std::ostringstream table;
    table << "zflood: seed " << o.seed << ", " << sent << " sent, " << failed << " failed, " << overheard
          << " requests overheard, " << learned.size() << " ports learned, " << rejectedLines
          << " target lines rejected\n";
    table << "  kind               count\n";
    for (size_t k = 0; k < static_cast<size_t>(FloodKind::KIND_COUNT); k++) {
        char row[64];
        std::snprintf(row, sizeof row, "  %-16s %8llu\n", FloodKindName(static_cast<FloodKind>(k)),
                      static_cast<unsigned long long>(plan.Count(static_cast<FloodKind>(k))));
        table << row;
    }
    std::fputs(table.str().c_str(), stdout);
    if (!o.report.empty()) {
        std::ofstream(o.report) << table.str();
    }
    return 0;
}
