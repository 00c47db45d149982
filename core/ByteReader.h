// Bounds-checked reader of received bytes: every field of a datagram the programs, the simulator or the
// tools receive is read through it. A read past the end yields zeros and sets the error flag, which stays
// set (later reads yield zeros too), so a parser reads its fields unconditionally and checks Ok() once at
// the end. Portable: no platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CByteReader {
public:
    CByteReader(const uint8_t* pData, size_t nLength) : m_pData(pData), m_nLength(pData ? nLength : 0) {}

    uint8_t ReadU8();
    uint16_t ReadU16();  // little-endian
    int16_t ReadI16();   // little-endian, two's complement
    int32_t ReadI32();   // little-endian, two's complement
    // Copies exactly nCount bytes; on a short read copies nothing, fills pDest with zeros and fails.
    void ReadBytes(void* pDest, size_t nCount);
    // Copies what is left, at most nMax bytes, zero-fills the rest of pDest; never fails. Returns the count.
    size_t ReadAvailable(void* pDest, size_t nMax);
    // A fixed-width text field: its characters before the first NUL, or all nWidth of them when it has
    // none; never anything past the field. A field wider than what is left fails and yields "".
    std::string ReadText(size_t nWidth);
    void Skip(size_t nCount);

    bool Ok() const { return !m_bError; }
    size_t Position() const { return m_nPos; }
    size_t Remaining() const { return m_nLength - m_nPos; }

private:
    bool Take(size_t nCount);

    const uint8_t* m_pData;
    size_t m_nLength;
    size_t m_nPos = 0;
    bool m_bError = false;
};
