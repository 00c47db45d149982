// Bounds-checked reader of received bytes.
#include "ByteReader.h"

#include <cstring>

bool CByteReader::Take(size_t nCount) {
    if (m_bError || nCount > m_nLength - m_nPos) {
        m_bError = true;
        m_nPos = m_nLength;
        return false;
    }
    return true;
}

uint8_t CByteReader::ReadU8() {
    if (!Take(1)) return 0;
    return m_pData[m_nPos++];
}

uint16_t CByteReader::ReadU16() {
    if (!Take(2)) return 0;
    uint16_t w = static_cast<uint16_t>(m_pData[m_nPos] | (m_pData[m_nPos + 1] << 8));
    m_nPos += 2;
    return w;
}

int16_t CByteReader::ReadI16() {
    return static_cast<int16_t>(ReadU16());
}

int32_t CByteReader::ReadI32() {
    if (!Take(4)) return 0;
    uint32_t dw = 0;
    for (size_t i = 4; i-- > 0;) dw = (dw << 8) | m_pData[m_nPos + i];
    m_nPos += 4;
    return static_cast<int32_t>(dw);
}

void CByteReader::ReadBytes(void* pDest, size_t nCount) {
    if (!Take(nCount)) {
        if (nCount) memset(pDest, 0, nCount);
        return;
    }
    if (nCount) memcpy(pDest, m_pData + m_nPos, nCount);
    m_nPos += nCount;
}

size_t CByteReader::ReadAvailable(void* pDest, size_t nMax) {
    size_t nCount = m_bError ? 0 : Remaining();
    if (nCount > nMax) nCount = nMax;
    if (nCount) memcpy(pDest, m_pData + m_nPos, nCount);
    if (nMax > nCount) memset(static_cast<uint8_t*>(pDest) + nCount, 0, nMax - nCount);
    m_nPos += nCount;
    return nCount;
}

std::string CByteReader::ReadText(size_t nWidth) {
    if (!Take(nWidth) || nWidth == 0) return std::string();
    const char* pBegin = reinterpret_cast<const char*>(m_pData + m_nPos);
    const void* pNul = memchr(pBegin, 0, nWidth);
    size_t nLength = pNul ? static_cast<size_t>(static_cast<const char*>(pNul) - pBegin) : nWidth;
    m_nPos += nWidth;
    return std::string(pBegin, nLength);
}

void CByteReader::Skip(size_t nCount) {
    if (Take(nCount)) m_nPos += nCount;
}
