// Result codes to messages, and the resource script's string table against the texts used here.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "../ReplyDecoder.h"
#include "../ResultCodes.h"

namespace {

std::string ReadFile(const char* path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            ++i;
            out += s[i] == 'n' ? '\n' : s[i];
        } else {
            out += s[i];
        }
    }
    return out;
}

// The resource script's string table, by id.
const std::map<unsigned, std::string>& StringTable() {
    static const std::map<unsigned, std::string> table = [] {
        std::map<std::string, unsigned> ids;
        std::string header = ReadFile(ZT_WIZARD_RES_DIR "/resource.h");
        std::regex define(R"(#define\s+(IDS_\w+)\s+(\d+))");
        for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
            ids[(*it)[1]] = static_cast<unsigned>(std::stoul((*it)[2]));
        std::string script = ReadFile(ZT_WIZARD_RES_DIR "/Zentrive_Setup.rc");
        std::map<unsigned, std::string> byId;
        std::regex entry(R"re(^\s*(IDS_\w+)\s+"((?:[^"\\]|\\.)*)")re", std::regex::multiline);
        for (std::sregex_iterator it(script.begin(), script.end(), entry), end; it != end; ++it) {
            EXPECT_TRUE(ids.count((*it)[1])) << (*it)[1];
            byId[ids[(*it)[1]]] = Unescape((*it)[2]);
        }
        return byId;
    }();
    return table;
}

std::string MessageOf(int code) {
    const char* text = LinkStringText(ResultMessageId(code));
    return text ? text : "<no text>";
}

bool HasOwnMessage(int code) {
    return (code <= -101 && code >= -117) || (code <= -201 && code >= -226) || code == -304 || code == -305 ||
           (code <= -310 && code >= -314);
}

TEST(ResultCodes, EveryCodeShowsItsOwnMessage) {
    std::set<std::string> seen;
    for (int code = -400; code <= 400; ++code) {
        const std::string text = MessageOf(code);
        if (!HasOwnMessage(code)) {
            EXPECT_EQ(text, "Other error") << code;
            continue;
        }
        EXPECT_NE(text, "<no text>") << code;
        EXPECT_NE(text, "Other error") << code;
        // -102 and -103 both mean the network settings failed; every other code says something of its own.
        if (code != -103) EXPECT_TRUE(seen.insert(text).second) << code << " repeats " << text;
    }
    EXPECT_EQ(MessageOf(-103), MessageOf(-102));
    // The ends of each run of codes, where a shifted table would show first.
    const std::map<int, std::string> ends = {
        {-101, "Set IP fail"},
        {-102, "Set Network fail"},
        {-104, "Set Server Name fail"},
        {-117, "Someone is scanning disk now"},
        {-201, "Get MAC address fail"},
        {-202, "Get IP fail"},
        {-217, "Get Description fail"},
        {-218, "get DNS server 1 fail"},
        {-226, "get printer_client fail"},
        {-304, "Set password fail"},
        {-305, "Wrong password"},
        {-310, "set TCP/IP fail"},
        {-314, "set microsoft network fail"},
    };
    for (const auto& [code, text] : ends) EXPECT_EQ(MessageOf(code), text) << code;
    EXPECT_EQ(ResultMessageId(-102), 61214u);
    EXPECT_EQ(ResultMessageId(5), 61245u);
}

TEST(ResultCodes, StatusFromTheWireIsSigned) {
    const uint8_t reply[8] = {17, 0, 0x9B, 0xFF, 1, 0, 0, 0};
    PacketHeader h;
    ASSERT_TRUE(DecodeHeader(reply, sizeof reply, h));
    EXPECT_EQ(MessageOf(h.wStatus), "Set IP fail");
    for (int code : {-300, -118, -227, 5, 32767, -32768}) EXPECT_EQ(MessageOf(code), "Other error") << code;
}

// The message box shows the resource script's text; it must be the text the table was written against.
TEST(ResultCodes, ResourceScriptHoldsTheSameTexts) {
    for (size_t i = 0; i < g_linkStringCount; ++i) {
        const StringTextRow& row = g_linkStrings[i];
        ASSERT_TRUE(StringTable().count(row.nStringId)) << row.nStringId;
        EXPECT_EQ(StringTable().at(row.nStringId), row.pszText) << row.nStringId;
    }
    for (size_t i = 0; i < g_resultCodeCount; ++i)
        EXPECT_NE(LinkStringText(g_resultCodes[i].nStringId), nullptr) << g_resultCodes[i].nCode;
    EXPECT_EQ(StringTable().at(61208), "communication error!\nPlease check your TCP/IP setting ");
    EXPECT_EQ(StringTable().at(61209), "Device no response");
}

}  // namespace
