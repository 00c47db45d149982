// CStringTable: the English texts of the wizard's string table, read from its resource script and the header
// that numbers the ids, so that a native tool shows a message exactly as the wizard's message box does.
#pragma once

#include <map>
#include <string>

// The whole of a file, byte for byte; false when it cannot be read.
bool ReadFile(const std::string& path, std::string& text);

class CStringTable {
public:
    // Reads resourceHeader (#define IDS_NAME number) and script (STRINGTABLE lines IDS_NAME "text"). False
    // when either cannot be read or an entry names an id the header does not define.
    bool Load(const std::string& resourceHeader, const std::string& script);

    // The text of a string id; nullptr when the table has none.
    const char* Text(unsigned nStringId) const;

private:
    std::map<unsigned, std::string> m_texts;
};
