// Reading the wizard's string table out of its resource script.
#include "StringTable.h"

#include <fstream>
#include <regex>
#include <sstream>

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

namespace {

// The resource compiler's escapes inside a quoted string: \n, \t, \\ and \".
std::string Unescape(const std::string& quoted) {
    std::string out;
    for (size_t i = 0; i < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '\\' && i + 1 < quoted.size()) {
            c = quoted[++i];
            c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
        out += c;
    }
    return out;
}

}  // namespace

bool CStringTable::Load(const std::string& resourceHeader, const std::string& script) {
    std::string header;
    std::string rc;
    if (!ReadFile(resourceHeader, header) || !ReadFile(script, rc)) return false;

    std::map<std::string, unsigned> ids;
    const std::regex define(R"(#define\s+(IDS_\w+)\s+(\d+))");
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
        ids[(*it)[1]] = static_cast<unsigned>(std::stoul((*it)[2]));

    const std::regex entry(R"re(^\s*(IDS_\w+)\s+"((?:[^"\\]|\\.)*)")re", std::regex::multiline);
    for (std::sregex_iterator it(rc.begin(), rc.end(), entry), end; it != end; ++it) {
        auto id = ids.find((*it)[1]);
        if (id == ids.end()) return false;
        m_texts[id->second] = Unescape((*it)[2]);
    }
    return true;
}

const char* CStringTable::Text(unsigned nStringId) const {
    auto it = m_texts.find(nStringId);
    return it != m_texts.end() ? it->second.c_str() : nullptr;
}
