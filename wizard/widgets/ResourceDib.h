// ResourceDib: a bitmap resource read where it lies in the module (header, colours, pixels), without making
// a GDI bitmap of it. Painting straight from it saves a copy and a conversion of every pixel.
#pragma once

#include <windows.h>

struct ResourceDib {
    const BITMAPINFO* pInfo = nullptr;
    const void* pBits = nullptr;
    int cx = 0;
    int cy = 0;  // rows, whichever way they are stored

    explicit operator bool() const { return pInfo != nullptr; }
};

// The bitmap resource nBitmapId of hInstance, or an empty one when it is missing or its header, colour table
// and pixels do not fit in the resource.
ResourceDib FindResourceDib(HINSTANCE hInstance, UINT nBitmapId);
