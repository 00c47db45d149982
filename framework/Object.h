// CObject: root of the classes that carry run-time class information. Each of its objects owns something
// that must not be released twice (a window, a handle, a lock, a list's nodes) or is the one instance of a
// seam, so none is copied; derived classes are non-copyable without saying so again.
#pragma once

#include "RuntimeClass.h"

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};
