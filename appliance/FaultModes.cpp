// Parsing and printing of fault modes.
#include "FaultModes.h"

#include "TextFormat.h"

namespace {

// One word of the fault language, in the order FormatFaultModes writes them. A number mode is off at offValue
// and may stand without its number where bareValue is not offValue; a flag mode never takes a value.
struct Mode {
    enum Kind { NUMBER, FLAG, IGNORE, FROM_OTHER } kind;
    const char* word;
    int FaultModes::*number;
    bool FaultModes::*flag;
    long min, max;
    int offValue, bareValue;
};

const Mode MODES[] = {
    {Mode::NUMBER, "drop-requests", &FaultModes::dropRequestsPercent, nullptr, 0, 100, 0, 0},
    {Mode::NUMBER, "drop-first", &FaultModes::dropFirst, nullptr, 1, 1000000, 0, 0},
    {Mode::IGNORE, "ignore", nullptr, nullptr, 0, 0, 0, 0},
    {Mode::NUMBER, "drop-replies", &FaultModes::dropRepliesPercent, nullptr, 0, 100, 0, 0},
    {Mode::FLAG, "twice", nullptr, &FaultModes::twice, 0, 0, 0, 0},
    {Mode::NUMBER, "late", &FaultModes::lateMs, nullptr, 1, 600000, 0, 0},
    {Mode::NUMBER, "spread", &FaultModes::spreadMs, nullptr, 1, 600000, 0, 0},
    {Mode::FLAG, "stale-seq", nullptr, &FaultModes::staleSequence, 0, 0, 0, 0},
    {Mode::FROM_OTHER, "from-other", nullptr, &FaultModes::fromOther, 0, 0, 0, 0},
    {Mode::FLAG, "wrong-type", nullptr, &FaultModes::wrongType, 0, 0, 0, 0},
    {Mode::NUMBER, "short", &FaultModes::shortLength, nullptr, 0, 1500, -1, 6},
    {Mode::NUMBER, "long", &FaultModes::longLength, nullptr, 1, 65000, -1, 1100},
    {Mode::FLAG, "unterminated", nullptr, &FaultModes::unterminated, 0, 0, 0, 0},
    {Mode::FLAG, "state1", nullptr, &FaultModes::state1, 0, 0, 0, 0},
};

bool ParseMode(const Mode& mode, bool hasValue, const std::string& value, FaultModes& out, std::string* error) {
    switch (mode.kind) {
        case Mode::NUMBER: {
            long n = mode.bareValue;
            if ((hasValue || mode.bareValue == mode.offValue) && !ParseInt(value, mode.min, mode.max, &n)) {
                *error = std::string("fault ") + mode.word + " needs a number from " + std::to_string(mode.min) +
                         " to " + std::to_string(mode.max);
                return false;
            }
            out.*mode.number = static_cast<int>(n);
            return true;
        }
        case Mode::FLAG:
            if (hasValue) return false;
            out.*mode.flag = true;
            return true;
        case Mode::IGNORE:
            if (value == "unicast" || value == "broadcast") {
                out.ignore = value == "unicast" ? FaultModes::Ignore::Unicast : FaultModes::Ignore::Broadcast;
                return true;
            }
            *error = "fault ignore is ignore=unicast or ignore=broadcast";
            return false;
        case Mode::FROM_OTHER:
            out.fromOther = true;
            if (hasValue && !ParseAddress(value, &out.otherAddress)) {
                *error = "fault from-other takes a dotted IPv4 address";
                return false;
            }
            return true;
    }
    return false;
}

}  // namespace

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
        const Mode* mode = nullptr;
        for (const Mode& m : MODES)
            if (key == m.word) mode = &m;
        if (key == "none" && !hasValue) {
            out = FaultModes();
        } else if (key == "silent" && !hasValue) {
            out.dropRequestsPercent = 100;
        } else if (!mode || !ParseMode(*mode, hasValue, value, out, error)) {
            if (!mode || mode->kind == Mode::FLAG) *error = "unknown fault mode '" + word + "'";
            return false;
        }
    }
    *modes = out;
    return true;
}

std::string FormatFaultModes(const FaultModes& m) {
    std::string out;
    for (const Mode& mode : MODES) {
        std::string word;
        if (mode.kind == Mode::NUMBER && m.*mode.number != mode.offValue)
            word = std::string(mode.word) + "=" + std::to_string(m.*mode.number);
        else if (mode.kind == Mode::FLAG && m.*mode.flag)
            word = mode.word;
        else if (mode.kind == Mode::IGNORE && m.ignore != FaultModes::Ignore::None)
            word = m.ignore == FaultModes::Ignore::Unicast ? "ignore=unicast" : "ignore=broadcast";
        else if (mode.kind == Mode::FROM_OTHER && m.fromOther)
            word = m.otherAddress ? "from-other=" + FormatAddress(m.otherAddress) : std::string("from-other");
        if (!word.empty()) out += (out.empty() ? "" : " ") + word;
    }
    return out.empty() ? "none" : out;
}
