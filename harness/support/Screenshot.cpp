// Screen copies through GDI: BitBlt from the screen DC, so the picture is what a user would see, overlaps included.
#include "Screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

BOOL SaveScreenshot(HWND hwnd, const char* path) {
    RECT rc;
    if (hwnd) {
        GetWindowRect(hwnd, &rc);
    } else {
        rc = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return FALSE;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);

    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    std::vector<unsigned char> pixels(static_cast<size_t>((w * 3 + 3) & ~3) * h);
    GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER bf{};
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof(bf) + sizeof(bi);
    bf.bfSize = bf.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* f = fopen(path, "wb");
    if (!f) return FALSE;
    bool ok = fwrite(&bf, sizeof(bf), 1, f) == 1 && fwrite(&bi, sizeof(bi), 1, f) == 1 &&
              fwrite(pixels.data(), pixels.size(), 1, f) == 1;
    return fclose(f) == 0 && ok;
}

BOOL SaveArtifactScreenshot(HWND hwnd, const char* name) {
    const char* folder = getenv("ZT_ARTIFACTS_WIN");
    if (!folder) return FALSE;
    // Paint whatever is still pending, children included, so the picture shows the window's present state.
    if (hwnd) ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return SaveScreenshot(hwnd, (std::string(folder) + "\\" + name + ".bmp").c_str());
}
