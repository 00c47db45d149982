// Text form and rules of the test network provider's shared state.
#include "ProviderState.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

bool ParseNumber(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return end != nullptr && *end == '\0';
}

bool IsClean(const std::string& text) {
    return text.find_first_of("\t\r\n") == std::string::npos;
}

}  // namespace

void CProviderState::Parse(const std::string& text) {
    m_connections.clear();
    m_failures.clear();
    m_workgroups.clear();
    m_otherLines.clear();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // Written on Windows or by hand: any trailing carriage returns go, so that text read back is the same.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f = SplitTabs(line);
        long long code = 0, times = 0;
        if (f[0] == "conn" && f.size() == 3 && !f[2].empty() && (f[1].empty() || !NormalizeDrive(f[1]).empty()))
            m_connections.push_back({NormalizeDrive(f[1]), f[2]});
        else if (f[0] == "fail" && f.size() == 4 && !f[1].empty() && ParseNumber(f[2], code) && code >= 0 &&
                 code <= 0xFFFFFFFFLL && ParseNumber(f[3], times) && times >= -1 && times <= 1000000)
            m_failures.push_back({f[1], static_cast<uint32_t>(code), static_cast<int>(times)});
        else if (f[0] == "group" && f.size() == 2 && !f[1].empty())
            m_workgroups.push_back(f[1]);
        else
            m_otherLines.push_back(line);
    }
}

std::string CProviderState::Serialize() const {
    std::string out;
    for (const Connection& c : m_connections) out += "conn\t" + c.localName + "\t" + c.remoteName + "\n";
    for (const Failure& f : m_failures)
        out += "fail\t" + f.call + "\t" + std::to_string(f.code) + "\t" + std::to_string(f.timesLeft) + "\n";
    for (const std::string& name : m_workgroups) out += "group\t" + name + "\n";
    for (const std::string& line : m_otherLines) out += line + "\n";
    return out;
}

const CProviderState::Connection* CProviderState::FindByLocal(const std::string& localName) const {
    std::string drive = NormalizeDrive(localName);
    if (drive.empty()) return nullptr;
    for (const Connection& c : m_connections)
        if (c.localName == drive) return &c;
    return nullptr;
}

const CProviderState::Connection* CProviderState::FindDevicelessByRemote(const std::string& remoteName) const {
    for (const Connection& c : m_connections)
        if (c.localName.empty() && c.remoteName == remoteName) return &c;
    return nullptr;
}

void CProviderState::Add(const Connection& connection) {
    if (!IsClean(connection.remoteName)) return;
    m_connections.push_back({NormalizeDrive(connection.localName), connection.remoteName});
}

bool CProviderState::Remove(const std::string& name) {
    const Connection* found = name.find(':') != std::string::npos ? FindByLocal(name) : FindDevicelessByRemote(name);
    if (found == nullptr) return false;
    m_connections.erase(m_connections.begin() + (found - m_connections.data()));
    return true;
}

void CProviderState::SetWorkgroups(const std::vector<std::string>& names) {
    m_workgroups.clear();
    for (const std::string& name : names)
        if (!name.empty() && IsClean(name)) m_workgroups.push_back(name);
}

uint32_t CProviderState::TakeFailure(const std::string& call) {
    for (size_t i = 0; i < m_failures.size(); i++) {
        Failure& f = m_failures[i];
        if (f.call != call || f.timesLeft == 0) continue;
        uint32_t code = f.code;
        if (f.timesLeft > 0 && --f.timesLeft == 0) m_failures.erase(m_failures.begin() + static_cast<long>(i));
        return code;
    }
    return 0;
}

void CProviderState::SetFailure(const std::string& call, uint32_t code, int times) {
    if (call.empty() || !IsClean(call)) return;
    for (size_t i = 0; i < m_failures.size(); i++)
        if (m_failures[i].call == call) m_failures.erase(m_failures.begin() + static_cast<long>(i--));
    if (times != 0) m_failures.push_back({call, code, times});
}

void CProviderState::ClearFailures() {
    m_failures.clear();
}

std::string CProviderState::NormalizeDrive(const std::string& localName) {
    if (localName.size() != 2 || localName[1] != ':' || !std::isalpha(static_cast<unsigned char>(localName[0])))
        return "";
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(localName[0])))) + ":";
}

bool CProviderState::IsUncPath(const std::string& remoteName) {
    if (remoteName.size() < 5 || remoteName.compare(0, 2, "\\\\") != 0 || !IsClean(remoteName)) return false;
    size_t slash = remoteName.find('\\', 2);
    return slash != std::string::npos && slash > 2 && slash + 1 < remoteName.size() && remoteName[slash + 1] != '\\';
}

std::vector<CProviderState::Failure> CProviderState::ParseFailureList(const std::string& list) {
    std::vector<Failure> rules;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        size_t colon = item.find(':');
        long long code = 0;
        if (colon == std::string::npos || colon == 0 || !ParseNumber(item.substr(colon + 1), code) || code < 0 ||
            code > 0xFFFFFFFFLL)
            continue;
        rules.push_back({item.substr(0, colon), static_cast<uint32_t>(code), -1});
    }
    return rules;
}
