// Text forms of addresses, MACs, numbers, JSON strings and hex.
#include "TextFormat.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

bool ParseAddress(const std::string& text, uint32_t* address) {
    uint32_t value = 0;
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
        unsigned octet = 0;
        size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            octet = octet * 10 + static_cast<unsigned>(text[i] - '0');
            if (++digits > 3 || octet > 255) return false;
            ++i;
        }
        value = (value << 8) | octet;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.') return false;
            ++i;
        }
    }
    if (i != text.size()) return false;
    *address = value;
    return true;
}

std::string FormatAddress(uint32_t address) {
    char buf[16];
    snprintf(buf, sizeof buf, "%u.%u.%u.%u", address >> 24, (address >> 16) & 255, (address >> 8) & 255, address & 255);
    return buf;
}

std::string FormatEndpoint(uint32_t address, uint16_t port) {
    return FormatAddress(address) + ":" + std::to_string(port);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        }
    }
    out += '"';
    return out;
}

bool ParseInt(const std::string& text, long min, long max, long* value) {
    if (text.empty()) return false;
    // Decimal, or hex with 0x; a leading zero is not octal ("010" is ten).
    size_t sign = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    int base = text.compare(sign, 2, "0x") == 0 || text.compare(sign, 2, "0X") == 0 ? 16 : 10;
    errno = 0;
    char* end = nullptr;
    long v = strtol(text.c_str(), &end, base);
    if (errno || *end || v < min || v > max) return false;
    *value = v;
    return true;
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string ToHex(const uint8_t* data, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool FromHex(const std::string& text, std::string* bytes) {
    if (text.size() % 2) return false;
    std::string out;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    *bytes = out;
    return true;
}

const char* NameOfType(uint16_t type, std::initializer_list<TypeName> names) {
    for (const TypeName& n : names)
        if (n.type == type) return n.name;
    return "unknown";
}
