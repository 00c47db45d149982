// Bounds-checked reader of received bytes and hex helpers.
#include "ByteReader.h"

#include <cstring>

bool CByteReader::Take(size_t count) {
    if (m_failed || count > m_size - m_pos) {
        m_failed = true;
        m_pos = m_size;
        return false;
    }
    return true;
}

uint8_t CByteReader::U8() {
    if (!Take(1)) return 0;
    return m_data[m_pos++];
}

uint16_t CByteReader::U16() {
    if (!Take(2)) return 0;
    uint16_t v = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

int32_t CByteReader::I32() {
    if (!Take(4)) return 0;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | m_data[m_pos + i];
    m_pos += 4;
    return static_cast<int32_t>(v);
}

void CByteReader::Bytes(uint8_t* out, size_t count) {
    if (!Take(count)) {
        memset(out, 0, count);
        return;
    }
    memcpy(out, m_data + m_pos, count);
    m_pos += count;
}

std::string CByteReader::Text(size_t width) {
    if (!Take(width)) return std::string();
    const char* begin = reinterpret_cast<const char*>(m_data + m_pos);
    const void* nul = memchr(begin, 0, width);
    size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - begin) : width;
    m_pos += width;
    return std::string(begin, length);
}

void CByteReader::Skip(size_t count) {
    if (Take(count)) m_pos += count;
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
