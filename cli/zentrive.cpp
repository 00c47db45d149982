// zentrive: finds, reads and sets Zentrive appliances and their USB disks from a script or a terminal.
// The command line (CLI11) is read here; CZentriveTool does the work.
#include <CLI/CLI.hpp>
#include <ctime>
#include <iostream>

#include "ZentriveTool.h"

namespace {

const char kFooter[] =
    "Exit codes: 0 done, 1 usage error, 2 appliance not found or no answer, 3 refused by the appliance,\n"
    "4 network error, 5 apply: some rows written, some not. See zentrive(1).";

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Find, read and set Zentrive appliances on the local network.", "zentrive"};
    app.footer(kFooter);
    app.require_subcommand(1);
    app.set_version_flag("--version", "zentrive 1.0");

    ToolOptions options;
    std::string format = "table";
    bool bPasswordStdin = false;
    auto addFormat = [&](CLI::App* command) {
        command->add_option("--format", format, "output: table, json or csv")
            ->check(CLI::IsMember({"table", "json", "csv"}));
    };
    auto addSearch = [&](CLI::App* command) {
        command->add_option("--interface", options.interfaces, "search only through this local address")
            ->type_name("ADDR");
        command->add_option("--timeout", options.timeoutSeconds, "end the search after this many seconds")
            ->check(CLI::PositiveNumber);
    };
    auto addPassword = [&](CLI::App* command) {
        auto* file = command
                         ->add_option("--password-file", options.passwordFile,
                                      "read the admin password from the first line of FILE")
                         ->type_name("FILE");
        command->add_flag("--password-stdin", bPasswordStdin, "read the admin password from standard input")
            ->excludes(file);
    };

    CLI::App* search = app.add_subcommand("search", "find the appliances on every local interface");
    addFormat(search);
    addSearch(search);

    std::string appliance;
    CLI::App* show = app.add_subcommand("show", "read one appliance's settings");
    show->add_option("APPLIANCE", appliance, "MAC address, IP address or server name")->required();
    addFormat(show);
    addSearch(show);

    CSettingsChange change;
    bool bDryRun = false, bNow = false;
    CLI::App* set = app.add_subcommand("set", "change one appliance's settings");
    set->add_option("APPLIANCE", appliance, "MAC address, IP address or server name")->required();
    set->add_option("--dhcp", change.dhcp, "on: the appliance takes its address by DHCP; off: a fixed address")
        ->type_name("on|off");
    set->add_option("--ip", change.ip, "fixed IP address")->type_name("A.B.C.D");
    set->add_option("--mask", change.mask, "subnet mask")->type_name("A.B.C.D");
    set->add_option("--gateway", change.gateway, "default gateway")->type_name("A.B.C.D");
    set->add_option("--name", change.name, "server name, at most 14 characters");
    set->add_option("--workgroup", change.workgroup, "workgroup, at most 15 characters");
    set->add_option("--timezone", change.timezone, "time zone by index or name (see zentrive timezones)")
        ->type_name("INDEX|NAME");
    auto* date = set->add_option("--date", change.date, "local date")->type_name("YYYY-MM-DD");
    auto* time = set->add_option("--time", change.time, "local time, 24-hour")->type_name("HH:MM");
    set->add_flag("--now", bNow, "date and time from this computer's clock")->excludes(date)->excludes(time);
    set->add_flag("--dry-run", bDryRun, "read the appliance and print what would change; write nothing");
    addFormat(set);
    addSearch(set);
    addPassword(set);

    std::string table;
    CLI::App* apply = app.add_subcommand("apply", "set many appliances from a CSV or JSON table keyed by MAC");
    apply->add_option("FILE", table, "FILE.csv or FILE.json")->required();
    apply->add_flag("--dry-run", bDryRun, "read every appliance and print what would change; write nothing");
    addFormat(apply);
    addSearch(apply);
    addPassword(apply);

    CLI::App* timezones = app.add_subcommand("timezones", "list the 63 time zones with their index");
    addFormat(timezones);

    CLI::App* disks = app.add_subcommand("disks", "list the USB disks the appliances share (port 917)");
    addFormat(disks);
    disks->add_option("--interface", options.interfaces, "ask only through this local address")->type_name("ADDR");

    std::string server;
    CLI::App* eject = app.add_subcommand("eject", "eject an appliance's USB disk safely");
    eject->add_option("SERVER", server, "the appliance's server name")->required();
    eject->add_option("--interface", options.interfaces, "ask only through this local address")->type_name("ADDR");

    uint64_t nCount = 0;
    double seconds = 0;
    CLI::App* watch = app.add_subcommand("watch", "print the appliances' disk notices as they arrive");
    addFormat(watch);
    watch->add_option("--count", nCount, "end after this many notices");
    watch->add_option("--seconds", seconds, "end after this many seconds")->check(CLI::PositiveNumber);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int nCode = app.exit(e);
        return nCode == 0 ? EXIT_DONE : EXIT_USAGE;
    }

    options.format = format == "json" ? OutputFormat::Json : format == "csv" ? OutputFormat::Csv : OutputFormat::Table;
    if (bPasswordStdin) options.passwordKind = CPasswordSource::Kind::Stdin;
    if (!options.passwordFile.empty()) options.passwordKind = CPasswordSource::Kind::File;
    if (bNow) {
        std::time_t now = std::time(nullptr);
        std::tm local{};
#ifdef _WIN32
        localtime_s(&local, &now);
#else
        localtime_r(&now, &local);
#endif
        change.SetClock(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    }

    CZentriveTool tool(options);
    if (*search) return tool.RunSearch();
    if (*show) return tool.RunShow(appliance);
    if (*set) return tool.RunSet(appliance, change, bDryRun);
    if (*apply) return tool.RunApply(table, bDryRun);
    if (*timezones) return tool.RunTimeZones();
    if (*disks) return tool.RunDisks();
    if (*eject) return tool.RunEject(server);
    return tool.RunWatch(nCount, seconds);
}
