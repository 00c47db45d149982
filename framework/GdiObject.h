// CGdiObject: owner of one GDI object handle; the destructor deletes what the object created or attached
// (never a stock object). FromHandle gives a temporary wrapper for a handle the object does not own.
#pragma once

#include <windows.h>

#include "Object.h"

class CGdiObject : public CObject {
public:
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;

    // A wrapper that does not delete the handle; valid until the application's loop is idle.
    static CGdiObject* FromHandle(HGDIOBJ hObject);
    static void DeleteTempMap();
};
