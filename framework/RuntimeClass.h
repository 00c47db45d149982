// CRuntimeClass: the run-time class record of CObject classes (class name, base, factory for classes
// declared dynamically creatable), with the DECLARE_/IMPLEMENT_ macros that define it.
#pragma once

#include "Types.h"

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();  // NULL unless the class is dynamically creatable
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class, or NULL when the class is not dynamically creatable.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                               \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), pfnNew, \
                                                         RUNTIME_CLASS(base_class_name)};         \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                    \
        return RUNTIME_CLASS(class_name);                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() {                \
        return new class_name;                           \
    }                                                    \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)
