// Parsing and printing of fault modes.
#include "FaultModes.h"

#include "TextFormat.h"

bool FaultModes::Any() const {
    return dropRequestsPercent || dropFirst || ignore != Ignore::None || dropRepliesPercent || twice || lateMs ||
           spreadMs || staleSequence || fromOther || wrongType || shortLength >= 0 || longLength >= 0 || unterminated ||
           state1;
}

bool ParseFaultModes(const std::vector<std::string>& words, FaultModes* modes, std::string* error) {
    FaultModes out;
    for (const std::string& word : words) {
        size_t eq = word.find('=');
        std::string key = word.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : word.substr(eq + 1);
        bool hasValue = eq != std::string::npos;
        long n = 0;
        auto number = [&](long min, long max) {
            if (!ParseInt(value, min, max, &n)) {
                *error = "fault " + key + " needs a number from " + std::to_string(min) + " to " + std::to_string(max);
                return false;
            }
            return true;
        };
        if (key == "none" && !hasValue) {
            out = FaultModes();
        } else if (key == "drop-requests") {
            if (!number(0, 100)) return false;
            out.dropRequestsPercent = static_cast<int>(n);
        } else if (key == "silent" && !hasValue) {
            out.dropRequestsPercent = 100;
        } else if (key == "drop-first") {
            if (!number(1, 1000000)) return false;
            out.dropFirst = static_cast<int>(n);
        } else if (key == "ignore") {
            if (value == "unicast")
                out.ignore = FaultModes::Ignore::Unicast;
            else if (value == "broadcast")
                out.ignore = FaultModes::Ignore::Broadcast;
            else {
                *error = "fault ignore is ignore=unicast or ignore=broadcast";
                return false;
            }
        } else if (key == "drop-replies") {
            if (!number(0, 100)) return false;
            out.dropRepliesPercent = static_cast<int>(n);
        } else if (key == "twice" && !hasValue) {
            out.twice = true;
        } else if (key == "late") {
            if (!number(1, 600000)) return false;
            out.lateMs = static_cast<int>(n);
        } else if (key == "spread") {
            if (!number(1, 600000)) return false;
            out.spreadMs = static_cast<int>(n);
        } else if (key == "stale-seq" && !hasValue) {
            out.staleSequence = true;
        } else if (key == "from-other") {
            out.fromOther = true;
            if (hasValue && !ParseAddress(value, &out.otherAddress)) {
                *error = "fault from-other takes a dotted IPv4 address";
                return false;
            }
        } else if (key == "wrong-type" && !hasValue) {
            out.wrongType = true;
        } else if (key == "short") {
            if (hasValue && !number(0, 1500)) return false;
            out.shortLength = hasValue ? static_cast<int>(n) : 6;
        } else if (key == "long") {
            if (hasValue && !number(1, 65000)) return false;
            out.longLength = hasValue ? static_cast<int>(n) : 1100;
        } else if (key == "unterminated" && !hasValue) {
            out.unterminated = true;
        } else if (key == "state1" && !hasValue) {
            out.state1 = true;
        } else {
            *error = "unknown fault mode '" + word + "'";
            return false;
        }
    }
    *modes = out;
    return true;
}

std::string FormatFaultModes(const FaultModes& m) {
    std::vector<std::string> words;
    if (m.dropRequestsPercent) words.push_back("drop-requests=" + std::to_string(m.dropRequestsPercent));
    if (m.dropFirst) words.push_back("drop-first=" + std::to_string(m.dropFirst));
    if (m.ignore != FaultModes::Ignore::None)
        words.push_back(m.ignore == FaultModes::Ignore::Unicast ? "ignore=unicast" : "ignore=broadcast");
    if (m.dropRepliesPercent) words.push_back("drop-replies=" + std::to_string(m.dropRepliesPercent));
    if (m.twice) words.push_back("twice");
    if (m.lateMs) words.push_back("late=" + std::to_string(m.lateMs));
    if (m.spreadMs) words.push_back("spread=" + std::to_string(m.spreadMs));
    if (m.staleSequence) words.push_back("stale-seq");
    if (m.fromOther)
        words.push_back(m.otherAddress ? "from-other=" + FormatAddress(m.otherAddress) : std::string("from-other"));
    if (m.wrongType) words.push_back("wrong-type");
    if (m.shortLength >= 0) words.push_back("short=" + std::to_string(m.shortLength));
    if (m.longLength >= 0) words.push_back("long=" + std::to_string(m.longLength));
    if (m.unterminated) words.push_back("unterminated");
    if (m.state1) words.push_back("state1");
    if (words.empty()) return "none";
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}
