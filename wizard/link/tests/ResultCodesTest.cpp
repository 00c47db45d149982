// Result codes to messages, and the resource script's string table against the texts used here.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "../ReplyDecoder.h"
#include "../ResultCodes.h"

namespace {

std::string MessageOf(int code) {
    const char* text = LinkStringText(ResultMessageId(code));
    return text ? text : "<no text>";
}

TEST(ResultCodes, EveryCodeShowsItsMessage) {
    const std::map<int, std::string> expected = {
        {-101, "Set IP fail"},
        {-102, "Set Network fail"},
        {-103, "Set Network fail"},
        {-104, "Set Server Name fail"},
        {-105, "Set Default Server Name fail"},
        {-106, "Set Version fail"},
        {-107, "Set Date fail"},
        {-108, "Set Time fail"},
        {-109, "Set DHCP server enable Flag fail"},
        {-110, "Set DHCP start ip fail"},
        {-111, "Set DHCP end ip fail"},
        {-112, "Set Microsoft Networking fail"},
        {-113, "Set Domain Name fail"},
        {-114, "Set Zone Name fail"},
        {-115, "Set IP Status fail"},
        {-116, "Set Description fail"},
        {-117, "Someone is scanning disk now"},
        {-201, "Get MAC address fail"},
        {-202, "Get IP fail"},
        {-203, "Get Network fail"},
        {-204, "Get Gateway fail"},
        {-205, "Get Server Name fail"},
        {-206, "Get Default Server Name fail"},
        {-207, "Get Version fail"},
        {-208, "Get Date fail"},
        {-209, "Get Time fail"},
        {-210, "Get DHCP server enable Flag fail"},
        {-211, "Get DHCP start ip fail"},
        {-212, "Get DHCP end ip fail"},
        {-213, "Get Microsoft Networking fail"},
        {-214, "Get Domain Name fail"},
        {-215, "Get Zone fail"},
        {-216, "Get IP Status fail"},
        {-217, "Get Description fail"},
        {-218, "get DNS server 1 fail"},
        {-219, "get DNS server 2 fail"},
        {-220, "get DNS server 3 fail"},
        {-221, "get msn_enable fail"},
        {-222, "get code_page fail"},
        {-223, "get printer_name fail"},
        {-224, "get apple_enable fail"},
        {-225, "get mac_printer_type fail"},
        {-226, "get printer_client fail"},
        {-304, "Set password fail"},
        {-305, "Wrong password"},
        {-310, "set TCP/IP fail"},
        {-311, "set hostname fail"},
        {-312, "set dhcp server fail"},
        {-313, "set netatalk fail"},
        {-314, "set microsoft network fail"},
    };
    for (int code = -400; code <= 400; ++code) {
        auto it = expected.find(code);
        EXPECT_EQ(MessageOf(code), it != expected.end() ? it->second : "Other error") << code;
    }
    EXPECT_EQ(ResultMessageId(-102), ResultMessageId(-103));
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

// The message box shows the resource script's text; it must be the text the table was written against.
TEST(ResultCodes, ResourceScriptHoldsTheSameTexts) {
    std::map<std::string, unsigned> ids;
    std::string header = ReadFile(ZT_WIZARD_RES_DIR "/resource.h");
    std::regex define(R"(#define\s+(IDS_\w+)\s+(\d+))");
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
        ids[(*it)[1]] = static_cast<unsigned>(std::stoul((*it)[2]));

    std::string script = ReadFile(ZT_WIZARD_RES_DIR "/Zentrive_Setup.rc");
    std::map<unsigned, std::string> table;
    std::regex entry(R"re(^\s*(IDS_\w+)\s+"((?:[^"\\]|\\.)*)")re", std::regex::multiline);
    for (std::sregex_iterator it(script.begin(), script.end(), entry), end; it != end; ++it) {
        ASSERT_TRUE(ids.count((*it)[1])) << (*it)[1];
        table[ids[(*it)[1]]] = Unescape((*it)[2]);
    }
    for (size_t i = 0; i < g_linkStringCount; ++i) {
        const StringTextRow& row = g_linkStrings[i];
        ASSERT_TRUE(table.count(row.nStringId)) << row.nStringId;
        EXPECT_EQ(table[row.nStringId], row.pszText) << row.nStringId;
    }
    EXPECT_EQ(table[61208], "communication error!\nPlease check your TCP/IP setting ");
    EXPECT_EQ(table[61209], "Device no response");
}

}  // namespace
