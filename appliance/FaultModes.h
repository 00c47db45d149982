// Fault modes of one simulated appliance: the ways a real appliance or network misbehaves that the programs
// must survive. Parsed from words such as "drop-replies=50 twice late=9000".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FaultModes {
    enum class Ignore { None, Unicast, Broadcast };

    int dropRequestsPercent = 0;   // requests ignored
    int dropFirst = 0;             // the next N requests ignored (counts down)
    Ignore ignore = Ignore::None;  // requests sent to the appliance's address, or by broadcast, ignored
    int dropRepliesPercent = 0;    // replies composed, logged and not sent
    bool twice = false;            // every reply sent two times
    int lateMs = 0;                // every reply and notice held back this long
    int spreadMs = 0;              // every reply held back a further random 0..spreadMs (a LAN of many answering)
    bool staleSequence = false;    // reply carries the request's sequence number minus one
    bool fromOther = false;        // reply leaves from another of the host's addresses
    uint32_t otherAddress = 0;     // that address; 0: the first host address that is not the appliance's
    bool wrongType = false;        // reply type is the request's plus one
    int shortLength = -1;          // reply cut to this many bytes; -1: off
    int longLength = -1;           // reply padded with 0xEE to this many bytes; -1: off
    bool unterminated = false;     // every text field filled to its full width, no NUL
    bool state1 = false;           // info replies report wState 1

    bool Any() const;
};

// Replaces *modes with the words' modes ("none" clears). On error *modes is unchanged.
bool ParseFaultModes(const std::vector<std::string>& words, FaultModes* modes, std::string* error);
std::string FormatFaultModes(const FaultModes& modes);
