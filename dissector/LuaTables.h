// The tables of the Wireshark dissector (packet types and payload lengths, result codes with their texts,
// time-zone names, record layouts of both services), written as Lua from the programs' own portable code and
// the wizard's string table, so that the dissector reads the wire exactly as the programs do.
#pragma once

#include <string>

class CStringTable;

// The generated block of zentrive.lua, from its first marker line to its last, each line ending in '\n'.
// strings: the wizard's string table, which holds the texts of the result codes.
std::string GenerateLuaTables(const CStringTable& strings);

constexpr const char* LUA_TABLES_BEGIN = "-- BEGIN GENERATED TABLES";
constexpr const char* LUA_TABLES_END = "-- END GENERATED TABLES";
