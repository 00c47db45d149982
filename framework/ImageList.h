// CImageList: an image list owned by the object (destroyed with it unless detached).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Object.h"

class CBitmap;

class CImageList : public CObject {
public:
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    // A wrapper that does not destroy the list; valid until the application's loop is idle.
    static CImageList* FromHandle(HIMAGELIST hImageList);
    static void DeleteTempMap();

    // An empty list of cx x cy images (ILC_ flags, initial size, growth).
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // A masked list from bitmap resource nBitmapID cut into cx-wide images; crMask is transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    // Index of the first image added, -1 on failure.
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
};
