// Loads pictures from this program's resources as the skinned windows do, and reads back their pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace art_test {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;  // top-down rows, 3 bytes a pixel, no padding

    std::uint32_t At(int x, int y) const {
        const std::uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

// LoadImageA of a bitmap resource at its natural size with the given flags; nullptr when it fails.
inline HBITMAP LoadBitmapResource(int id, UINT flags) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags));
}

inline Pixels ReadPixels(HBITMAP bitmap) {
    Pixels out;
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof bm, &bm)) return out;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = ((bm.bmWidth * 3 + 3) / 4) * 4;
    std::vector<std::uint8_t> rows(static_cast<size_t>(stride) * bm.bmHeight);
    HDC screen = GetDC(nullptr);
    const int copied = GetDIBits(screen, bitmap, 0, bm.bmHeight, rows.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (copied != bm.bmHeight) return out;
    out.width = bm.bmWidth;
    out.height = bm.bmHeight;
    out.bgr.reserve(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 3);
    for (int y = 0; y < bm.bmHeight; ++y) {
        const std::uint8_t* row = &rows[static_cast<size_t>(y) * stride];
        out.bgr.insert(out.bgr.end(), row, row + bm.bmWidth * 3);
    }
    return out;
}

// Width and height of the colour bitmap of an icon loaded at the requested size; {0, 0} when loading fails.
inline SIZE LoadedIconSize(int id, int size) {
    SIZE result{0, 0};
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!icon) return result;
    ICONINFO info{};
    if (GetIconInfo(icon, &info)) {
        BITMAP bm{};
        if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) result = SIZE{bm.bmWidth, bm.bmHeight};
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    DestroyIcon(icon);
    return result;
}

}  // namespace art_test
