// CMapPtrToPtr: hash map from pointer to pointer with chained buckets (default 17 buckets, as the window
// hook map of the widgets expects). POSITION iterates the associations in bucket order.
#pragma once

#include <vector>

#include "Object.h"

class CMapPtrToPtr : public CObject {
public:
    ~CMapPtrToPtr() override;

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(void* key, void*& rValue) const;
    // Inserts key with a NULL value when it is missing.
    void*& operator[](void* key);
    void SetAt(void* key, void* newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(void* key);
    void RemoveAll();

    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, void*& rKey, void*& rValue) const;

    // Only before the first insertion; later calls keep the current table.
    void InitHashTable(UINT hashSize);
    UINT GetHashTableSize() const { return m_nHashTableSize; }

private:
    struct Assoc : __POSITION {
        Assoc* pNext;
        void* key;
        void* value;
    };

    UINT HashKey(void* key) const;
    Assoc* Find(void* key, UINT& nBucket) const;

    std::vector<Assoc*> m_table;
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};
