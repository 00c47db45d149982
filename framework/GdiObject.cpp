// CGdiObject: handle ownership and the temporary wrappers.
#include "GdiObject.h"

#include <memory>
#include <unordered_map>

namespace {

std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> g_tempObjects;

}  // namespace

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject || m_hObject) return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    if (!hObject) return nullptr;
    std::unique_ptr<CGdiObject>& temp = g_tempObjects[hObject];
    if (!temp) {
        temp = std::make_unique<CGdiObject>();
        temp->m_hObject = hObject;
    }
    return temp.get();
}

void CGdiObject::DeleteTempMap() {
    for (auto& entry : g_tempObjects) entry.second->m_hObject = nullptr;
    g_tempObjects.clear();
}
