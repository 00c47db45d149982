// ResourceDib: the resource is a packed DIB (BITMAPINFOHEADER or a later one, colours, pixels); every part is
// checked against the resource's size before it is pointed at.
#include "ResourceDib.h"

#include <cstdint>
#include <cstdlib>

ResourceDib FindResourceDib(HINSTANCE hInstance, UINT nBitmapId) {
    HRSRC hFound = ::FindResourceA(hInstance, MAKEINTRESOURCEA(nBitmapId), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!hFound) return {};
    const uint64_t nSize = ::SizeofResource(hInstance, hFound);
    HGLOBAL hData = ::LoadResource(hInstance, hFound);
    const auto* pBytes = static_cast<const BYTE*>(hData ? ::LockResource(hData) : nullptr);
    if (!pBytes || nSize < sizeof(BITMAPINFOHEADER)) return {};

    const auto* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pBytes);
    // An OS/2 core header has three-byte colours that StretchDIBits does not take.
    if (pHeader->biSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize > nSize) return {};
    if (pHeader->biWidth <= 0 || pHeader->biHeight == 0 || pHeader->biHeight == INT32_MIN || pHeader->biPlanes != 1)
        return {};
    const uint64_t cx = static_cast<uint64_t>(pHeader->biWidth);
    const uint64_t cy = static_cast<uint64_t>(std::llabs(pHeader->biHeight));

    switch (pHeader->biBitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return {};
    }
    uint64_t nColours = 0;
    if (pHeader->biBitCount <= 8)
        nColours = pHeader->biClrUsed ? pHeader->biClrUsed : uint64_t{1} << pHeader->biBitCount;
    uint64_t nOffset = pHeader->biSize + nColours * sizeof(RGBQUAD);
    // The three masks follow a plain BITMAPINFOHEADER; the later headers hold them.
    if (pHeader->biCompression == BI_BITFIELDS && pHeader->biSize == sizeof(BITMAPINFOHEADER)) nOffset += 12;

    uint64_t nPixels = pHeader->biSizeImage;
    if (pHeader->biCompression == BI_RGB || pHeader->biCompression == BI_BITFIELDS) {
        const uint64_t nStride = (cx * pHeader->biBitCount + 31) / 32 * 4;
        if (nStride > nSize || cy > nSize) return {};
        nPixels = nStride * cy;
    }
    if (nPixels == 0 || nOffset > nSize || nPixels > nSize - nOffset) return {};

    ResourceDib dib;
    dib.pInfo = reinterpret_cast<const BITMAPINFO*>(pBytes);
    dib.pBits = pBytes + nOffset;
    dib.cx = static_cast<int>(cx);
    dib.cy = static_cast<int>(cy);
    return dib;
}
