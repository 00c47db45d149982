// Bounds-checked reader of received bytes: every field of a datagram is read through it. A short read
// sets the error flag, which stays set; callers check Ok() once at the end.
#pragma once

#include <cstddef>
#include <cstdint>

class CByteReader {
public:
    CByteReader(const uint8_t* pData, size_t nLength) : m_pData(pData), m_nLength(pData ? nLength : 0) {}

    uint8_t ReadU8();
    uint16_t ReadU16();  // little-endian
    int16_t ReadI16();   // little-endian, two's complement
    int32_t ReadI32();   // little-endian
    // Copies exactly nCount bytes; on a short read copies nothing, fills pDest with zeros and fails.
    void ReadBytes(void* pDest, size_t nCount);
    // Copies what is left, at most nMax bytes, zero-fills the rest of pDest; never fails. Returns the count.
    size_t ReadAvailable(void* pDest, size_t nMax);

    bool Ok() const { return !m_bError; }
    size_t Remaining() const { return m_nLength - m_nPos; }

private:
    bool Take(size_t nCount);

    const uint8_t* m_pData;
    size_t m_nLength;
    size_t m_nPos = 0;
    bool m_bError = false;
};
