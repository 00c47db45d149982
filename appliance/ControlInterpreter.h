// The control channel's line protocol: one command a line in, one line "OK ..." or "ERR ..." out.
// The same interpreter serves the Unix socket and the TCP port; see README.md for the commands.
#pragma once

#include "Simulator.h"

#include <string>

class CControlInterpreter {
public:
    explicit CControlInterpreter(CSimulator& simulator) : m_simulator(simulator) {}

    // Runs one command line (without its newline); *quit is set by "quit".
    std::string Execute(int64_t nowMs, const std::string& line, bool* quit);

private:
    std::string Set(const std::vector<Appliance*>& targets, const std::string& key, const std::string& value);
    std::string Burst(int64_t nowMs, const std::vector<Appliance*>& targets, const std::vector<std::string>& words);
    std::string Notice(int64_t nowMs, Appliance& a, const std::vector<std::string>& words);

    CSimulator& m_simulator;
};
