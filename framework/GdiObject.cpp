// CGdiObject: handle ownership and the temporary wrappers.
#include "GdiObject.h"

#include <utility>

#include "HandleWrapper.h"

namespace {

CTempMap<CGdiObject, HGDIOBJ, &CGdiObject::m_hObject> g_tempObjects;

}  // namespace

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    return AttachHandle(m_hObject, hObject);
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    return DestroyHandle(m_hObject, ::DeleteObject);
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return g_tempObjects.FromHandle(hObject);
}

void CGdiObject::DeleteTempMap() {
    g_tempObjects.DeleteAll();
}
