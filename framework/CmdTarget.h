// CCmdTarget: base of every class with a message map. A message map is a static table of entries, each a
// message (or command/notification code and control-id range) and a thunk that calls the handler member
// with the message's parameters unpacked; tables chain to their base class's table (see MessageMap.h).
#pragma once

#include <windows.h>

#include "Object.h"

class CCmdTarget;

// Calls one handler: target is the object whose map holds the entry, already of the entry's class.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* pTarget, UINT message, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message; WM_COMMAND and WM_NOTIFY entries also match nCode and the id range
    UINT nCode;     // command/notification code
    UINT nID;       // first control id
    UINT nLastID;   // last control id (= nID for a single id)
    AFX_PMSG pfn;   // NULL ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // NULL for CCmdTarget's own map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject {
public:
    static const CRuntimeClass classCCmdTarget;
    const CRuntimeClass* GetRuntimeClass() const override;

    // Looks the command up in the maps of this object, most derived class first; TRUE when a handler ran.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam);

    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // The first entry for the message in the chain of maps starting at pMap, or NULL.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);

protected:
    CCmdTarget() = default;
};
