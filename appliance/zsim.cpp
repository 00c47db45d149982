// zsim: the appliance simulator. Stands for one or many appliances on a lab host: the configuration
// service on UDP 915, the USB-disk service on UDP 917, a control channel, and a JSON-lines log.
// See README.md. Refuses to start outside a lab network namespace.
#include "JsonLog.h"
#include "LabGuard.h"
#include "ServiceLoop.h"
#include "SimConfig.h"
#include "TextFormat.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

static const char USAGE[] =
    "usage: zsim [--config FILE] [--auto] [--log FILE|-] [--control PATH] [--control-tcp [ADDR:]PORT]\n"
    "            [--seed N]\n"
    "  --config FILE       appliances and their settings (README.md)\n"
    "  --auto              also one appliance for every address of the host that FILE does not name\n"
    "  --log FILE          JSON line for every datagram received or sent ('-': standard output)\n"
    "  --control PATH      control channel on a Unix stream socket\n"
    "  --control-tcp P     the same on TCP port P of the host's first lab address (or ADDR:P)\n"
    "  --seed N            seed of the drop-* fault modes (default 1)\n";

static bool IsLabAddress(uint32_t address) {
    return (address & 0xFFFE0000) == 0xC6120000;  // 198.18.0.0/15
}

static int Fail(const std::string& message) {
    fprintf(stderr, "zsim: %s\n", message.c_str());
    return 2;
}

int main(int argc, char** argv) {
    RequireLabNamespace("zsim (the appliance simulator)");

    std::string configPath, logPath, controlPath, controlTcp;
    bool autoAppliances = false;
    long seed = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        std::string seedText;
        if (arg == "--config" && value(&configPath)) {
        } else if (arg == "--log" && value(&logPath)) {
        } else if (arg == "--control" && value(&controlPath)) {
        } else if (arg == "--control-tcp" && value(&controlTcp)) {
        } else if (arg == "--auto") {
            autoAppliances = true;
        } else if (arg == "--seed" && value(&seedText) && ParseInt(seedText, 0, UINT32_MAX, &seed)) {
        } else if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            return 0;
        } else {
            fputs(USAGE, stderr);
            return 2;
        }
    }

    std::vector<HostAddress> host = ReadHostAddresses();
    std::vector<uint32_t> hostAddresses;
    PrefixLengths prefixes;
    for (const HostAddress& h : host) {
        hostAddresses.push_back(h.address);
        prefixes[h.address] = h.prefixLength;
    }

    std::vector<ConfigSection> sections;
    if (!configPath.empty()) {
        std::ifstream in(configPath);
        if (!in) return Fail("cannot read " + configPath);
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!ParseConfigText(text.str(), &sections, &error)) return Fail(configPath + ": " + error);
    }
    std::vector<Appliance> appliances;
    std::string error;
    if (!BuildAppliances(sections, autoAppliances ? hostAddresses : std::vector<uint32_t>(), &appliances, &error,
                         prefixes))
        return Fail(configPath + ": " + error);
    if (appliances.empty()) return Fail("no appliances: give --config FILE or --auto");

    FILE* logFile = nullptr;
    if (logPath == "-")
        logFile = stdout;
    else if (!logPath.empty() && !(logFile = fopen(logPath.c_str(), "a")))
        return Fail("cannot write " + logPath + ": " + strerror(errno));
    CJsonLog log(logFile);
    CSimulator simulator(&log, static_cast<uint32_t>(seed));
    for (const Appliance& a : appliances) {
        bool owned = false;
        for (uint32_t address : hostAddresses) owned = owned || address == a.address;
        if (!owned) return Fail(a.name + "'s address " + FormatAddress(a.address) + " is not an address of this host");
        if (!simulator.AddAppliance(a, &error)) return Fail(error);
    }

    uint32_t tcpAddress = 0;
    long tcpPort = 0;
    if (!controlTcp.empty()) {
        size_t colon = controlTcp.rfind(':');
        std::string portText = colon == std::string::npos ? controlTcp : controlTcp.substr(colon + 1);
        if (colon != std::string::npos) {
            if (!ParseAddress(controlTcp.substr(0, colon), &tcpAddress))
                return Fail("--control-tcp takes PORT or ADDR:PORT");
        } else {
            for (uint32_t address : hostAddresses) {
                if (IsLabAddress(address)) {
                    tcpAddress = address;
                    break;
                }
            }
        }
        if (!ParseInt(portText, 1, 65535, &tcpPort)) return Fail("--control-tcp takes PORT or ADDR:PORT");
        if (!IsLabAddress(tcpAddress)) return Fail("the control port binds only to a lab address (198.18.0.0/15)");
    }

    CServiceLoop loop(simulator, host);
    // The control channel first: once the UDP sockets exist (what the lab waits for), it can be used.
    if (!loop.OpenControl(controlPath, tcpAddress, static_cast<uint16_t>(tcpPort), &error) ||
        !loop.OpenServices(&error))
        return Fail(error);
    simulator.LogEvent(MonotonicMs(), "",
                       "started: " + std::to_string(appliances.size()) + " appliance(s)" +
                           (tcpPort ? ", control " + FormatEndpoint(tcpAddress, static_cast<uint16_t>(tcpPort)) : ""));
    loop.Run();
    simulator.LogEvent(MonotonicMs(), "", "stopped");
    return 0;
}
