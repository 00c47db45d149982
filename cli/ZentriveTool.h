// CZentriveTool: the commands of the `zentrive` tool over the shared core. Each Run* returns the exit code;
// results go to standard output in the chosen format, messages to standard error.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ApplyTable.h"
#include "ConfigClient.h"
#include "ExitCode.h"
#include "OutputTable.h"
#include "PasswordSource.h"
#include "SettingsChange.h"

struct ToolOptions {
    OutputFormat format = OutputFormat::Table;
    std::vector<std::string> interfaces;  // local addresses to search through; empty: all
    double timeoutSeconds = 0;            // search limit; 0: the full schedule
    CPasswordSource::Kind passwordKind = CPasswordSource::Kind::Prompt;
    std::string passwordFile;
};

class CZentriveTool {
public:
    explicit CZentriveTool(ToolOptions options);

    int RunSearch();
    int RunShow(const std::string& appliance);
    int RunSet(const std::string& appliance, const CSettingsChange& change, bool bDryRun);
    int RunApply(const std::string& path, bool bDryRun);
    int RunTimeZones();
    int RunDisks();
    int RunEject(const std::string& server);
    int RunWatch(uint64_t nCount, double seconds);

private:
    // Local interfaces (filtered by --interface); false with a message when one given is not local.
    bool OpenInterfaces();
    // Search, then the one appliance the text names (MAC, IP address or server name).
    int FindAppliance(const std::string& appliance, CDeviceList& list, const DeviceEntry*& pEntry);
    // Both of the above, for the one appliance show and set work on.
    int FindAndRead(const std::string& appliance, CDeviceList& list, const DeviceEntry*& pEntry, DeviceInfo& info);
    // Reads the appliance's settings; an exit code.
    int ReadSettings(const DeviceEntry& entry, DeviceInfo& info);
    // The password check (when the appliance has one) and the write; an exit code and the message.
    int WriteSettings(const DeviceEntry& entry, const DeviceSettings& settings, std::string& message);
    // The USB-disk discovery through one local address; false (with a message) on a network error.
    bool DiscoverThrough(const LocalInterface& local, std::vector<std::string>& names,
                         std::vector<std::string>& addresses);
    int ReportFailure(const CConfigClient::Result& result, const std::string& what, std::string& message) const;

    ToolOptions m_options;
    std::unique_ptr<CConfigClient> m_client;
    CPasswordSource m_password;
};
