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

bool ParseMac(const std::string& text, uint8_t mac[6]) {
    if (text.size() != 17) return false;
    uint8_t out[6];
    for (int i = 0; i < 6; ++i) {
        if (i > 0 && text[i * 3 - 1] != ':' && text[i * 3 - 1] != '-') return false;
        unsigned v = 0;
        for (int k = 0; k < 2; ++k) {
            char c = text[i * 3 + k];
            int d = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (d < 0) return false;
            v = v * 16 + static_cast<unsigned>(d);
        }
        out[i] = static_cast<uint8_t>(v);
    }
    for (int i = 0; i < 6; ++i) mac[i] = out[i];
    return true;
}

std::string FormatMac(const uint8_t mac[6]) {
    char buf[18];
    snprintf(buf, sizeof buf, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return buf;
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
