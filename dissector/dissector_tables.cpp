// dissector_tables: prints the generated block of the dissector's tables, checks that a zentrive.lua holds
// the current one (--check, for the test suite), or puts the current one into it (--update).
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <string>

#include "LuaTables.h"
#include "StringTable.h"

namespace {

// Where the generated block sits in the script: from the start of its first marker line to the end of its
// last one. False when either marker is missing or out of order.
bool FindBlock(const std::string& script, size_t& begin, size_t& end) {
    begin = script.find(LUA_TABLES_BEGIN);
    size_t last = script.find(LUA_TABLES_END);
    if (begin == std::string::npos || last == std::string::npos || last < begin) return false;
    end = script.find('\n', last);
    end = end == std::string::npos ? script.size() : end + 1;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"The Zentrive dissector's tables, from the programs' own code"};
    std::string resources = ZT_WIZARD_RES_DIR;
    std::string checkPath;
    std::string updatePath;
    app.add_option("--resources", resources, "the wizard's resource folder (resource.h, Zentrive_Setup.rc)")
        ->capture_default_str();
    auto* check = app.add_option("--check", checkPath, "fail unless this zentrive.lua holds the current tables");
    app.add_option("--update", updatePath, "write the current tables into this zentrive.lua")->excludes(check);
    CLI11_PARSE(app, argc, argv);

    CStringTable strings;
    if (!strings.Load(resources + "/resource.h", resources + "/Zentrive_Setup.rc")) {
        std::cerr << resources << ": no string table to read\n";
        return 2;
    }
    const std::string tables = GenerateLuaTables(strings);
    const std::string& path = checkPath.empty() ? updatePath : checkPath;
    if (path.empty()) {
        std::cout << tables;
        return 0;
    }
    std::string script;
    size_t begin = 0;
    size_t end = 0;
    if (!ReadFile(path, script) || !FindBlock(script, begin, end)) {
        std::cerr << path << ": no block between '" << LUA_TABLES_BEGIN << "' and '" << LUA_TABLES_END << "'\n";
        return 2;
    }
    if (script.compare(begin, end - begin, tables) == 0) return 0;
    if (!checkPath.empty()) {
        std::cerr << path << ": the tables differ from the programs' own; run dissector_tables --update " << path
                  << "\n";
        return 1;
    }
    script.replace(begin, end - begin, tables);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << script;
    return 0;
}
