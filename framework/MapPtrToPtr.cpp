// CMapPtrToPtr: chained hash table keyed by pointer value.
#include "MapPtrToPtr.h"

#include <cstdint>

CMapPtrToPtr::~CMapPtrToPtr() {
    RemoveAll();
}

UINT CMapPtrToPtr::HashKey(void* key) const {
    // Heap pointers are aligned: the low bits carry no information.
    return static_cast<UINT>((reinterpret_cast<uintptr_t>(key) >> 4) % m_nHashTableSize);
}

CMapPtrToPtr::Assoc* CMapPtrToPtr::Find(void* key, UINT& nBucket) const {
    nBucket = HashKey(key);
    if (m_table.empty()) return nullptr;
    for (Assoc* a = m_table[nBucket]; a; a = a->pNext)
        if (a->key == key) return a;
    return nullptr;
}

BOOL CMapPtrToPtr::Lookup(void* key, void*& rValue) const {
    UINT bucket;
    Assoc* a = Find(key, bucket);
    if (!a) return FALSE;
    rValue = a->value;
    return TRUE;
}

void*& CMapPtrToPtr::operator[](void* key) {
    UINT bucket;
    Assoc* a = Find(key, bucket);
    if (a) return a->value;
    if (m_table.empty()) m_table.assign(m_nHashTableSize, nullptr);
    a = new Assoc{{}, m_table[bucket], key, nullptr};
    m_table[bucket] = a;
    ++m_nCount;
    return a->value;
}

BOOL CMapPtrToPtr::RemoveKey(void* key) {
    if (m_table.empty()) return FALSE;
    for (Assoc** link = &m_table[HashKey(key)]; *link; link = &(*link)->pNext) {
        if ((*link)->key == key) {
            Assoc* dead = *link;
            *link = dead->pNext;
            delete dead;
            --m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

void CMapPtrToPtr::RemoveAll() {
    for (Assoc*& head : m_table) {
        while (head) {
            Assoc* next = head->pNext;
            delete head;
            head = next;
        }
    }
    m_table.clear();
    m_nCount = 0;
}

POSITION CMapPtrToPtr::GetStartPosition() const {
    for (Assoc* head : m_table)
        if (head) return head;
    return nullptr;
}

void CMapPtrToPtr::GetNextAssoc(POSITION& rNextPosition, void*& rKey, void*& rValue) const {
    Assoc* a = static_cast<Assoc*>(rNextPosition);
    rKey = a->key;
    rValue = a->value;
    Assoc* next = a->pNext;
    for (UINT b = HashKey(a->key) + 1; !next && b < m_table.size(); ++b) next = m_table[b];
    rNextPosition = next;
}

void CMapPtrToPtr::InitHashTable(UINT hashSize) {
    if (m_nCount == 0 && hashSize > 0) {
        m_table.clear();
        m_nHashTableSize = hashSize;
    }
}
