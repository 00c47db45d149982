// Bounds-checked reading of received bytes: a read past the end yields zeros and sets a flag that stays set,
// so a parser reads every field unconditionally and checks Ok() once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CByteReader {
public:
    CByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t U8();
    uint16_t U16();  // little-endian
    int32_t I32();   // little-endian
    void Bytes(uint8_t* out, size_t count);
    // A fixed-width text field: the characters before the first NUL, or all of them when it has none.
    std::string Text(size_t width);
    void Skip(size_t count);

    bool Ok() const { return !m_failed; }
    size_t Position() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }

private:
    bool Take(size_t count);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_failed = false;
};

// Renders a byte range as lower-case hex, and back; FromHex fails on odd length or a non-hex character.
std::string ToHex(const uint8_t* data, size_t size);
bool FromHex(const std::string& text, std::string* bytes);
