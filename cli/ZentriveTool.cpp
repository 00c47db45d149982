// The tool's commands.
#include "ZentriveTool.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>

#include "AddressText.h"
#include "OperationRules.h"
#include "ResultCodes.h"
#include "TimeZones.h"
#include "UsbOperations.h"
#include "UsbSocketAdapter.h"

namespace {

std::string EntryName(const DeviceEntry& entry) {
    return std::string(entry.szServerName, strnlen(entry.szServerName, sizeof entry.szServerName));
}

void Complain(const std::string& message) {
    std::cerr << "zentrive: " << message << "\n";
}

const char* NoticeName(uint16_t wType) {
    static const std::map<uint16_t, const char*> names = {{PKT_DISK_INFO, "available"},
                                                          {PKT_EJECTED, "ejected"},
                                                          {PKT_REMOVED, "removed"},
                                                          {PKT_WRONG_PORT, "wrong-port"}};
    auto it = names.find(wType);
    return it != names.end() ? it->second : "other";
}

}  // namespace

CZentriveTool::CZentriveTool(ToolOptions options)
    : m_options(std::move(options)), m_password(m_options.passwordKind, m_options.passwordFile) {}

bool CZentriveTool::OpenInterfaces() {
    std::string error;
    if (!CPlatform::Startup(error)) {
        Complain(error);
        return false;
    }
    std::vector<LocalInterface> all = CPlatform::Interfaces(), chosen;
    for (const std::string& text : m_options.interfaces) {
        auto it = std::find_if(all.begin(), all.end(),
                               [&](const LocalInterface& i) { return FormatAddress(i.address) == text; });
        if (it == all.end()) {
            Complain("--interface " + text + " is not an address of this computer");
            return false;
        }
        chosen.push_back(*it);
    }
    m_client = std::make_unique<CConfigClient>(m_options.interfaces.empty() ? all : chosen);
    return true;
}

int CZentriveTool::ReportFailure(const CConfigClient::Result& result, const std::string& what,
                                 std::string& message) const {
    switch (result.outcome) {
        case CConfigClient::Outcome::Ok:
            return EXIT_DONE;
        case CConfigClient::Outcome::NoAnswer:
            message = what + ": no answer";
            return EXIT_NO_ANSWER;
        case CConfigClient::Outcome::Refused:
            message = what + ": refused with code " + std::to_string(result.nStatus) + ": " +
                      LinkStringText(ResultMessageId(result.nStatus));
            return EXIT_REFUSED;
        case CConfigClient::Outcome::NetworkError:
            message = what + ": network error: " + result.error;
            return EXIT_NETWORK;
    }
    return EXIT_NETWORK;
}

int CZentriveTool::RunSearch() {
    if (!OpenInterfaces()) return EXIT_USAGE;
    CDeviceList list;
    CConfigClient::Result result = m_client->Search(list, static_cast<uint32_t>(m_options.timeoutSeconds * 1000), {});
    std::string message;
    if (int nCode = ReportFailure(result, "search", message)) {
        Complain(message);
        return nCode;
    }
    COutputTable table({"name", "mac", "ip", "interface", "password", "state"});
    for (size_t i = 0; i < list.GetCount(); ++i) {
        const DeviceEntry& e = *list.GetAt(i);
        const LocalInterface* pFound = m_client->FoundThrough(e);
        table.AddRow({EntryName(e), FormatMac(e.abMac), FormatAddress(e.dwAddress),
                      pFound ? FormatAddress(pFound->address) : "", e.bPasswordSet ? "yes" : "no",
                      std::to_string(e.wState)});
    }
    table.Write(std::cout, m_options.format);
    return EXIT_DONE;
}

int CZentriveTool::FindAppliance(const std::string& appliance, CDeviceList& list, const DeviceEntry*& pEntry) {
    uint8_t abMac[6], abAddress[4];
    const bool bMac = ParseMac(appliance, abMac);
    const bool bAddress = !bMac && ParseDottedQuad(appliance.c_str(), abAddress);
    uint32_t address = 0;
    memcpy(&address, abAddress, sizeof address);
    auto matches = [&](const DeviceEntry& e) {
        if (bMac) return memcmp(e.abMac, abMac, sizeof abMac) == 0;
        if (bAddress) return e.dwAddress == address;
        return EntryName(e) == appliance;
    };
    // A MAC or an address names one appliance: the search may stop at its answer. A name may fit several.
    auto found = [&](const CDeviceList& l) {
        for (size_t i = 0; i < l.GetCount(); ++i)
            if (matches(*l.GetAt(i))) return true;
        return false;
    };
    CConfigClient::Result result = m_client->Search(list, static_cast<uint32_t>(m_options.timeoutSeconds * 1000),
                                                    bMac || bAddress ? std::function(found) : nullptr);
    std::string message;
    if (int nCode = ReportFailure(result, "search", message)) {
        Complain(message);
        return nCode;
    }
    std::vector<const DeviceEntry*> hits;
    for (size_t i = 0; i < list.GetCount(); ++i)
        if (matches(*list.GetAt(i))) hits.push_back(list.GetAt(i));
    if (hits.empty()) {
        Complain("no appliance " + appliance + " answered the search");
        return EXIT_NO_ANSWER;
    }
    if (hits.size() > 1) {
        std::string text = appliance + " names " + std::to_string(hits.size()) + " appliances; give one by MAC or IP:";
        for (const DeviceEntry* e : hits) text += "\n  " + FormatMac(e->abMac) + "  " + FormatAddress(e->dwAddress);
        Complain(text);
        return EXIT_USAGE;
    }
    pEntry = hits[0];
    return EXIT_DONE;
}

int CZentriveTool::ReadSettings(const DeviceEntry& entry, DeviceInfo& info) {
    std::string message;
    if (int nCode = ReportFailure(m_client->Read(entry, info), EntryName(entry), message)) {
        Complain(message);
        return nCode;
    }
    // As the device list page: an appliance that reports no info text has not given its settings.
    if (info.szInfoText[0] == 0) {
        Complain(EntryName(entry) + ": the appliance did not report its settings");
        return EXIT_NO_ANSWER;
    }
    return EXIT_DONE;
}

int CZentriveTool::FindAndRead(const std::string& appliance, CDeviceList& list, const DeviceEntry*& pEntry,
                               DeviceInfo& info) {
    if (!OpenInterfaces()) return EXIT_USAGE;
    if (int nCode = FindAppliance(appliance, list, pEntry)) return nCode;
    return ReadSettings(*pEntry, info);
}

int CZentriveTool::RunShow(const std::string& appliance) {
    CDeviceList list;
    const DeviceEntry* pEntry = nullptr;
    DeviceInfo info;
    if (int nCode = FindAndRead(appliance, list, pEntry, info)) return nCode;
    std::vector<FieldDifference> fields = DescribeSettings(info.settings);
    fields.push_back({"password", "", pEntry->bPasswordSet ? "yes" : "no"});
    fields.push_back({"info", "", std::string(info.szInfoText, strnlen(info.szInfoText, sizeof info.szInfoText))});
    if (m_options.format == OutputFormat::Table) {
        COutputTable table({"item", "value"});
        for (const FieldDifference& f : fields) table.AddRow({f.field, f.after});
        table.Write(std::cout, m_options.format);
    } else {
        std::vector<std::string> columns, values;
        for (const FieldDifference& f : fields) {
            columns.push_back(f.field);
            values.push_back(f.after);
        }
        COutputTable table(columns);
        table.AddRow(values);
        table.Write(std::cout, m_options.format, true);
    }
    return EXIT_DONE;
}

int CZentriveTool::WriteSettings(const DeviceEntry& entry, const DeviceSettings& settings, std::string& message) {
    if (entry.bPasswordSet) {
        std::string error;
        const char* pszPassword = m_password.Get(error);
        if (!pszPassword) {
            message = error;
            return EXIT_USAGE;
        }
        if (int nCode =
                ReportFailure(m_client->CheckPassword(entry, pszPassword), EntryName(entry) + ": password", message))
            return nCode;
    }
    return ReportFailure(m_client->Write(entry, settings), EntryName(entry), message);
}

int CZentriveTool::RunSet(const std::string& appliance, const CSettingsChange& change, bool bDryRun) {
    std::vector<std::string> errors = change.Check();
    if (change.IsEmpty()) errors.push_back("nothing to set: give at least one field (see zentrive set --help)");
    if (!errors.empty()) {
        for (const std::string& e : errors) Complain(e);
        return EXIT_USAGE;
    }
    CDeviceList list;
    const DeviceEntry* pEntry = nullptr;
    DeviceInfo info;
    if (int nCode = FindAndRead(appliance, list, pEntry, info)) return nCode;
    DeviceSettings settings = info.settings;
    change.ApplyTo(settings);
    COutputTable table({"field", "before", "after"});
    for (const FieldDifference& d : DiffSettings(info.settings, settings)) table.AddRow({d.field, d.before, d.after});
    table.Write(std::cout, m_options.format);
    if (bDryRun) return EXIT_DONE;
    if (table.RowCount() == 0) {
        std::cerr << EntryName(*pEntry) << ": nothing changes, nothing written\n";
        return EXIT_DONE;
    }
    std::string message;
    int nCode = WriteSettings(*pEntry, settings, message);
    if (nCode) {
        Complain(message);
        return nCode;
    }
    std::cerr << EntryName(*pEntry) << ": settings written\n";
    return EXIT_DONE;
}

int CZentriveTool::RunApply(const std::string& path, bool bDryRun) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Complain("cannot read " + path);
        return EXIT_USAGE;
    }
    const bool bJson = path.size() >= 5 && path.compare(path.size() - 5, 5, ".json") == 0;
    std::vector<ApplyRow> rows;
    std::vector<std::string> errors;
    if (!ReadApplyTable(in, bJson, rows, errors)) {
        for (const std::string& e : errors) Complain(path + ": " + e);
        return EXIT_USAGE;
    }
    if (!OpenInterfaces()) return EXIT_USAGE;

    CDeviceList list;
    auto allFound = [&](const CDeviceList& l) {
        return std::all_of(rows.begin(), rows.end(), [&](const ApplyRow& r) { return l.FindByMac(r.abMac); });
    };
    CConfigClient::Result search =
        m_client->Search(list, static_cast<uint32_t>(m_options.timeoutSeconds * 1000), allFound);
    std::string message;
    if (int nCode = ReportFailure(search, "search", message)) {
        Complain(message);
        return nCode;
    }

    COutputTable table(bDryRun ? std::vector<std::string>{"mac", "name", "field", "before", "after"}
                               : std::vector<std::string>{"mac", "name", "outcome", "changes"});
    int nWritten = 0, nFirstFailure = EXIT_DONE;
    for (const ApplyRow& row : rows) {
        const DeviceEntry* pEntry = list.FindByMac(row.abMac);
        DeviceInfo info;
        int nCode = pEntry ? ReadSettings(*pEntry, info) : EXIT_NO_ANSWER;
        if (!pEntry) Complain(row.mac + ": no answer to the search");
        const std::string name = pEntry ? EntryName(*pEntry) : "";
        std::vector<FieldDifference> diff;
        DeviceSettings settings = info.settings;
        if (nCode == EXIT_DONE) {
            row.change.ApplyTo(settings);
            diff = DiffSettings(info.settings, settings);
        }
        if (bDryRun) {
            if (nCode != EXIT_DONE) table.AddRow({row.mac, name, "", "", "not read"});
            for (const FieldDifference& d : diff) table.AddRow({row.mac, name, d.field, d.before, d.after});
        } else {
            std::string changes;
            for (const FieldDifference& d : diff) {
                if (!changes.empty()) changes += ' ';
                changes += d.field;
            }
            if (nCode == EXIT_DONE && !diff.empty()) nCode = WriteSettings(*pEntry, settings, message);
            if (nCode != EXIT_DONE && !message.empty()) Complain(message);
            message.clear();
            const char* pszOutcome = nCode != EXIT_DONE ? "failed" : diff.empty() ? "unchanged" : "written";
            table.AddRow({row.mac, name, pszOutcome, changes});
        }
        if (nCode == EXIT_DONE)
            ++nWritten;
        else if (nFirstFailure == EXIT_DONE)
            nFirstFailure = nCode;
    }
    table.Write(std::cout, m_options.format);
    if (nFirstFailure == EXIT_DONE) return EXIT_DONE;
    return nWritten > 0 ? EXIT_PARTIAL : nFirstFailure;
}

int CZentriveTool::RunTimeZones() {
    COutputTable table({"index", "name"});
    for (int i = 0; i < TIME_ZONE_COUNT; ++i) table.AddRow({std::to_string(i), g_timeZoneNames[i]});
    table.Write(std::cout, m_options.format);
    return EXIT_DONE;
}

bool CZentriveTool::DiscoverThrough(const LocalInterface& local, std::vector<std::string>& names,
                                    std::vector<std::string>& addresses) {
    CUsbSocketAdapter socket;
    if (RunDiscovery(socket, {local.address}, names, addresses)) return true;
    Complain("discovery: network error: " + socket.LastError());
    return false;
}

int CZentriveTool::RunDisks() {
    if (!OpenInterfaces()) return EXIT_USAGE;
    COutputTable table({"server", "path", "address", "interface"});
    std::set<std::pair<std::string, std::string>> seen;
    for (const LocalInterface& local : m_client->Interfaces()) {
        std::vector<std::string> names, addresses;
        if (!DiscoverThrough(local, names, addresses)) return EXIT_NETWORK;
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i].empty() || !seen.insert({names[i], addresses[i]}).second) continue;
            std::string server;
            ServerOfPath(names[i], server);
            table.AddRow({server, names[i], addresses[i], FormatAddress(local.address)});
        }
    }
    table.Write(std::cout, m_options.format);
    return EXIT_DONE;
}

int CZentriveTool::RunEject(const std::string& server) {
    if (!OpenInterfaces()) return EXIT_USAGE;
    // Find the appliance first: the request leaves through its interface and only its own reply counts.
    uint32_t localAddress = 0, applianceAddress = 0;
    for (const LocalInterface& local : m_client->Interfaces()) {
        std::vector<std::string> names, addresses;
        if (!DiscoverThrough(local, names, addresses)) return EXIT_NETWORK;
        for (size_t i = 0; i < names.size() && !applianceAddress; ++i) {
            std::string name;
            ServerOfPath(names[i], name);
            uint8_t abAddress[4];
            if (!names[i].empty() && name == server && ParseDottedQuad(addresses[i].c_str(), abAddress)) {
                memcpy(&applianceAddress, abAddress, sizeof applianceAddress);
                localAddress = local.address;
            }
        }
        if (applianceAddress) break;
    }
    if (!applianceAddress) {
        Complain("no appliance named " + server + " shares a disk");
        return EXIT_NO_ANSWER;
    }
    CUsbSocketAdapter socket(localAddress, applianceAddress);
    UsbPacket reply{};
    if (!RunEjectQuery(socket, server, localAddress, applianceAddress, reply)) {
        Complain(server + ": no answer to the eject request");
        return EXIT_NO_ANSWER;
    }
    if (reply.wStatus == STATUS_IN_USE) {
        Complain(server + ": the disk is in use and was not ejected");
        return EXIT_REFUSED;
    }
    if (reply.wType != PKT_EJECTED) {
        Complain(server + ": the appliance did not eject its disk");
        return EXIT_REFUSED;
    }
    std::cout << server << ": the USB disk can now be removed safely\n";
    return EXIT_DONE;
}

int CZentriveTool::RunWatch(uint64_t nCount, double seconds) {
    std::string error;
    if (!CPlatform::Startup(error)) {
        Complain(error);
        return EXIT_NETWORK;
    }
    auto socket = CPlatform::NewSocket();
    if (!socket->Open(0, USB_SERVICE_PORT)) {
        Complain("cannot listen on UDP port 917: " + socket->LastError());
        return EXIT_NETWORK;
    }
    const std::vector<std::string> columns = {"notice", "server", "path", "sender"};
    if (m_options.format == OutputFormat::Csv) COutputTable(columns).Write(std::cout, OutputFormat::Csv);
    const uint64_t nEnd = seconds > 0 ? CPlatform::NowMs() + static_cast<uint64_t>(seconds * 1000) : UINT64_MAX;
    uint64_t nPrinted = 0;
    while (nCount == 0 || nPrinted < nCount) {
        const uint64_t nNow = CPlatform::NowMs();
        if (nNow >= nEnd) break;
        IDatagramSocket::WaitResult wait =
            socket->WaitReadable(static_cast<uint32_t>(std::min<uint64_t>(nEnd - nNow, 1000)));
        if (wait == IDatagramSocket::FAILED) {
            Complain("network error: " + socket->LastError());
            return EXIT_NETWORK;
        }
        if (wait == IDatagramSocket::TIMED_OUT) continue;
        uint8_t buffer[USB_RECEIVE_SIZE];
        size_t nReceived = 0;
        uint32_t sender = 0;
        if (!socket->Receive(buffer, sizeof buffer, nReceived, sender)) continue;
        UsbPacket notice = ParseUsbPacket(buffer, nReceived);
        if (notice.wLength == 0) continue;  // the discovery requests of PCs, not notices
        std::string path = UsbPacketName(notice), server;
        ServerOfPath(path, server);
        COutputTable row(columns);
        row.AddRow({NoticeName(notice.wType), server, path, FormatAddress(sender)});
        if (m_options.format == OutputFormat::Json)
            std::cout << row.JsonLine(0) << "\n";
        else if (m_options.format == OutputFormat::Csv)
            std::cout << row.CsvLine(0) << "\n";
        else
            std::cout << NoticeName(notice.wType) << "  " << server << "  " << path << "  from "
                      << FormatAddress(sender) << "\n";
        std::cout.flush();
        ++nPrinted;
    }
    return EXIT_DONE;
}
