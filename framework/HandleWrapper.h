// What the wrappers of one handle share: how device contexts, GDI objects and image lists take and give up
// their handle, and the temporary wrappers that FromHandle gives out (windows too) for handles the library
// does not own.
#pragma once

#include <memory>
#include <unordered_map>
#include <utility>

#include "Types.h"

// Takes hNew into an empty wrapper; FALSE, and nothing changes, for a NULL handle or a wrapper in use.
template <class H>
BOOL AttachHandle(H& rHandle, H hNew) {
    if (!hNew || rHandle) return FALSE;
    rHandle = hNew;
    return TRUE;
}

// Gives up the wrapper's handle and destroys it with destroy (DeleteObject, DeleteDC, ImageList_Destroy);
// FALSE when the wrapper holds none.
template <class H, class F>
BOOL DestroyHandle(H& rHandle, F destroy) {
    if (!rHandle) return FALSE;
    return destroy(std::exchange(rHandle, nullptr));
}

// One temporary wrapper of class T per handle, the handle kept in T's member Handle. The wrappers live until
// the application's loop is idle (DeleteAll); they are emptied before they go, so no handle is destroyed.
template <class T, class H, H T::*Handle>
class CTempMap {
public:
    T* FromHandle(H h) {
        if (!h) return nullptr;
        std::unique_ptr<T>& temp = m_wrappers[h];
        if (!temp) {
            temp = std::make_unique<T>();
            (*temp).*Handle = h;
        }
        return temp.get();
    }

    void DeleteAll() {
        for (auto& entry : m_wrappers) (*entry.second).*Handle = nullptr;
        m_wrappers.clear();
    }

private:
    std::unordered_map<H, std::unique_ptr<T>> m_wrappers;
};
