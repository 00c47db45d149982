// The simulator's log: one JSON object a line for every datagram received, sent or dropped and for every
// event (state changes, refusals, marks), flushed at once so that tests can read it while zsim runs.
#pragma once

#include "Simulator.h"

#include <cstdio>
#include <string>

class CJsonLog : public ISimulatorLog {
public:
    explicit CJsonLog(FILE* file) : m_file(file) {}

    void Write(int64_t nowMs, const char* dir, const Datagram* datagram, const std::string& appliance,
               const std::string& note) override;

    static std::string Format(const std::string& time, int64_t nowMs, const char* dir, const Datagram* datagram,
                              const std::string& appliance, const std::string& note);

private:
    FILE* m_file;
};
