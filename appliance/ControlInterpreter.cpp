// Control commands: state changes, notices and reads of the simulated appliances.
#include "ControlInterpreter.h"

#include "TextFormat.h"
#include "UsbPacket.h"

static const char HELP[] =
    "OK commands: ping | list | show NAME | record NAME [HEX] | set NAME|* KEY VALUE | fault NAME|* MODE... | "
    "result NAME|* CODE | eject NAME|* MODE | plug NAME [PATH] [announce[=ADDR]] | pull NAME [announce[=ADDR]] | "
    "notice NAME TYPE [broadcast|ADDR] [PATH|-] | burst NAME|* COUNT TYPE [broadcast|ADDR] | seed N | mark TEXT | quit";

// The rest of the line after the first `count` words, spaces kept.
static std::string RestAfter(const std::string& line, size_t count) {
    size_t pos = 0;
    for (size_t i = 0; i < count; ++i) {
        pos = line.find_first_not_of(" \t", pos);
        if (pos == std::string::npos) return std::string();
        pos = line.find_first_of(" \t", pos);
        if (pos == std::string::npos) return std::string();
    }
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string::npos) return std::string();
    return line.substr(pos);
}

static std::string DefaultDiskPath(const Appliance& a) {
    return a.disk.empty() ? "\\\\" + GetText(a.record, Settings::szServerName) + "\\usb" : a.disk;
}

static bool NoticeType(const std::string& word, uint16_t* type) {
    if (word == "available" || word == "32")
        *type = PKT_DISK_INFO;
    else if (word == "ejected" || word == "33")
        *type = PKT_EJECTED;
    else if (word == "removed" || word == "34")
        *type = PKT_REMOVED;
    else if (word == "wrongport" || word == "36")
        *type = PKT_WRONG_PORT;
    else
        return false;
    return true;
}

// "announce" alone: broadcast; "announce=ADDR": to that address. Returns false for any other word.
static bool AnnounceTarget(const std::string& word, uint32_t* to, std::string* error) {
    if (word == "announce") {
        *to = BROADCAST_ADDRESS;
        return true;
    }
    if (word.rfind("announce=", 0) == 0) {
        if (ParseAddress(word.substr(9), to)) return true;
        *error = "ERR announce=ADDR takes a dotted IPv4 address";
        return false;
    }
    *error = "ERR unexpected '" + word + "'";
    return false;
}

std::string CControlInterpreter::Set(const std::vector<Appliance*>& targets, const std::string& key,
                                     const std::string& value) {
    if (key == "address" || key == "mac") return "ERR " + key + " is fixed while the simulator runs";
    // Check on a copy first so that "*" changes all appliances or none.
    for (Appliance* a : targets) {
        Appliance probe = *a;
        std::string error;
        if (!ApplySetting(probe, key, value, &error)) return "ERR " + error;
    }
    for (Appliance* a : targets) {
        std::string error;
        ApplySetting(*a, key, value, &error);
    }
    return "OK " + std::to_string(targets.size()) + " appliance(s)";
}

std::string CControlInterpreter::Notice(int64_t nowMs, Appliance& a, const std::vector<std::string>& words) {
    uint16_t type;
    if (words.size() < 3 || !NoticeType(words[2], &type))
        return "ERR notice NAME available|ejected|removed|wrongport|32|33|34|36 [broadcast|ADDR] [PATH|-]";
    uint32_t to = BROADCAST_ADDRESS;
    if (words.size() > 3 && words[3] != "broadcast" && !ParseAddress(words[3], &to))
        return "ERR '" + words[3] + "' is neither broadcast nor a dotted IPv4 address";
    std::string path = DefaultDiskPath(a);
    if (words.size() > 4) path = words[4] == "-" ? std::string() : words[4];
    if (words.size() > 5) return "ERR too many words";
    std::string error;
    if (!m_simulator.SendNotice(nowMs, a, type, to, path, &error)) return "ERR " + error;
    return "OK " + std::string(UsbTypeName(type)) + " to " + FormatAddress(to);
}

std::string CControlInterpreter::Burst(int64_t nowMs, const std::vector<Appliance*>& targets,
                                       const std::vector<std::string>& words) {
    static const char USAGE[] =
        "ERR burst NAME|* COUNT available|ejected|removed|wrongport|32|33|34|36 [broadcast|ADDR]";
    long count = 0;
    uint16_t type;
    // At most 10000 from each: a burst is built in memory before it leaves.
    if (words.size() < 4 || words.size() > 5 || !ParseInt(words[2], 1, 10000, &count) || !NoticeType(words[3], &type))
        return USAGE;
    uint32_t to = BROADCAST_ADDRESS;
    if (words.size() == 5 && words[4] != "broadcast" && !ParseAddress(words[4], &to))
        return "ERR '" + words[4] + "' is neither broadcast nor a dotted IPv4 address";
    // All are queued before any leaves, so that they go out back to back. A COUNT above 1 gives each notice
    // a path of its own (\\SERVER\usb1, usb2, ...); a COUNT of 1 sends the disk's path.
    size_t sent = 0;
    for (Appliance* a : targets) {
        const std::string base = "\\\\" + GetText(a->record, Settings::szServerName) + "\\usb";
        for (long i = 1; i <= count; ++i) {
            const std::string path = count == 1 ? DefaultDiskPath(*a) : base + std::to_string(i);
            std::string error;
            if (!m_simulator.SendNotice(nowMs, *a, type, to, path, &error)) return "ERR " + error;
            ++sent;
        }
    }
    return "OK " + std::to_string(sent) + " " + UsbTypeName(type) + " to " + FormatAddress(to);
}

std::string CControlInterpreter::Execute(int64_t nowMs, const std::string& rawLine, bool* quit) {
    // Clients on Windows end their lines with CR LF.
    std::string line = rawLine;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) return "ERR empty command";
    const std::string& verb = words[0];
    if (verb == "ping") return "OK pong";
    if (verb == "help") return HELP;
    if (verb == "quit") {
        *quit = true;
        return "OK bye";
    }
    if (verb == "mark") {
        m_simulator.LogEvent(nowMs, "", "mark " + RestAfter(line, 1));
        return "OK";
    }
    if (verb == "seed") {
        // A test runs one simulator through several seeds without restarting it.
        long seed = 0;
        if (words.size() != 2 || !ParseInt(words[1], 0, UINT32_MAX, &seed)) return "ERR seed N (0..4294967295)";
        m_simulator.Reseed(static_cast<uint32_t>(seed));
        m_simulator.LogEvent(nowMs, "", "seed " + words[1]);
        return "OK";
    }
    if (verb == "list") {
        std::string out = "OK";
        for (const auto& a : m_simulator.Appliances()) out += " " + a->name + "=" + FormatAddress(a->address);
        return out;
    }
    if (words.size() < 2) return "ERR " + verb + " needs an appliance name (see help)";
    std::vector<Appliance*> targets = m_simulator.Select(words[1]);
    if (targets.empty()) return "ERR no appliance '" + words[1] + "'";
    bool all = words[1] == "*";
    if (verb == "set") {
        if (words.size() < 3) return "ERR set NAME KEY VALUE";
        return Set(targets, words[2], RestAfter(line, 3));
    }
    if (verb == "fault") return Set(targets, "fault", RestAfter(line, 2));
    if (verb == "result") {
        if (words.size() != 3) return "ERR result NAME CODE";
        return Set(targets, "result", words[2]);
    }
    if (verb == "eject") {
        if (words.size() != 3) return "ERR eject NAME success|inuse|other|silent";
        return Set(targets, "eject", words[2]);
    }
    if (verb == "burst") return Burst(nowMs, targets, words);
    if (all) return "ERR " + verb + " takes one appliance, not *";
    Appliance& a = *targets[0];
    if (verb == "show") {
        if (words.size() != 2) return "ERR show NAME";
        return "OK " + DescribeAppliance(a);
    }
    if (verb == "record") {
        if (words.size() == 2) return "OK " + ToHex(a.record.data(), a.record.size());
        if (words.size() != 3) return "ERR record NAME [HEX]";
        return Set(targets, "record", words[2]);
    }
    if (verb == "plug") {
        std::string path = "\\\\" + GetText(a.record, Settings::szServerName) + "\\usb";
        uint32_t to = 0;
        bool announce = false;
        for (size_t i = 2; i < words.size(); ++i) {
            std::string error;
            if (words[i].rfind("announce", 0) == 0) {
                if (!AnnounceTarget(words[i], &to, &error)) return error;
                announce = true;
            } else if (i == 2) {
                path = words[i];
            } else {
                return "ERR plug NAME [PATH] [announce[=ADDR]]";
            }
        }
        if (path.size() >= USB_NAME_SIZE) return "ERR a disk path holds at most 255 characters";
        a.disk = path;
        m_simulator.LogEvent(nowMs, a.name, "disk plugged: " + path);
        std::string error;
        if (announce && !m_simulator.SendNotice(nowMs, a, PKT_DISK_INFO, to, path, &error)) return "ERR " + error;
        return "OK " + path;
    }
    if (verb == "pull") {
        if (a.disk.empty()) return "ERR " + a.name + " has no disk";
        std::string path = a.disk;
        uint32_t to = 0;
        bool announce = false;
        for (size_t i = 2; i < words.size(); ++i) {
            std::string error;
            if (!AnnounceTarget(words[i], &to, &error)) return error;
            announce = true;
        }
        a.disk.clear();
        m_simulator.LogEvent(nowMs, a.name, "disk pulled: " + path);
        std::string error;
        if (announce && !m_simulator.SendNotice(nowMs, a, PKT_REMOVED, to, path, &error)) return "ERR " + error;
        return "OK " + path;
    }
    if (verb == "notice") return Notice(nowMs, a, words);
    return "ERR unknown command '" + verb + "' (see help)";
}
