// CStringList: block-allocated node list.
#include "StringList.h"

#include <cstring>

CStringList::CStringList(int nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CStringList::~CStringList() {
    RemoveAll();
}

CStringList::Node* CStringList::NewNode(Node* pPrev, Node* pNext, const CString& str) {
    if (!m_pFree) {
        m_blocks.emplace_back(new Node[static_cast<size_t>(m_nBlockSize)]);
        Node* block = m_blocks.back().get();
        for (int i = m_nBlockSize - 1; i >= 0; --i) {
            block[i].pNext = m_pFree;
            m_pFree = &block[i];
        }
    }
    Node* p = m_pFree;
    m_pFree = p->pNext;
    p->pPrev = pPrev;
    p->pNext = pNext;
    p->data = str;
    ++m_nCount;
    return p;
}

void CStringList::FreeNode(Node* pNode) {
    pNode->data.Empty();
    pNode->pPrev = nullptr;
    pNode->pNext = m_pFree;
    m_pFree = pNode;
    if (--m_nCount == 0) RemoveAll();
}

CString& CStringList::GetHead() {
    if (m_pHead) return m_pHead->data;
    m_none.Empty();
    return m_none;
}

const CString& CStringList::GetHead() const {
    return const_cast<CStringList*>(this)->GetHead();
}

CString& CStringList::GetTail() {
    if (m_pTail) return m_pTail->data;
    m_none.Empty();
    return m_none;
}

const CString& CStringList::GetTail() const {
    return const_cast<CStringList*>(this)->GetTail();
}

POSITION CStringList::AddHead(const CString& str) {
    Node* p = NewNode(nullptr, m_pHead, str);
    if (m_pHead)
        m_pHead->pPrev = p;
    else
        m_pTail = p;
    m_pHead = p;
    return p;
}

POSITION CStringList::AddTail(const CString& str) {
    Node* p = NewNode(m_pTail, nullptr, str);
    if (m_pTail)
        m_pTail->pNext = p;
    else
        m_pHead = p;
    m_pTail = p;
    return p;
}

void CStringList::AddHead(const CStringList* pList) {
    if (!pList || pList == this) return;
    for (Node* p = pList->m_pTail; p; p = p->pPrev) AddHead(p->data);
}

void CStringList::AddTail(const CStringList* pList) {
    if (!pList || pList == this) return;
    for (Node* p = pList->m_pHead; p; p = p->pNext) AddTail(p->data);
}

CString CStringList::RemoveHead() {
    if (!m_pHead) return CString();
    Node* p = m_pHead;
    CString value = p->data;
    m_pHead = p->pNext;
    if (m_pHead)
        m_pHead->pPrev = nullptr;
    else
        m_pTail = nullptr;
    FreeNode(p);
    return value;
}

CString CStringList::RemoveTail() {
    if (!m_pTail) return CString();
    Node* p = m_pTail;
    CString value = p->data;
    m_pTail = p->pPrev;
    if (m_pTail)
        m_pTail->pNext = nullptr;
    else
        m_pHead = nullptr;
    FreeNode(p);
    return value;
}

void CStringList::RemoveAll() {
    m_pHead = m_pTail = m_pFree = nullptr;
    m_nCount = 0;
    m_blocks.clear();
}

POSITION CStringList::GetHeadPosition() const {
    return m_pHead;
}
POSITION CStringList::GetTailPosition() const {
    return m_pTail;
}

CString& CStringList::GetNext(POSITION& rPosition) {
    Node* p = AsNode(rPosition);
    rPosition = p->pNext;
    return p->data;
}

const CString& CStringList::GetNext(POSITION& rPosition) const {
    return const_cast<CStringList*>(this)->GetNext(rPosition);
}

CString& CStringList::GetPrev(POSITION& rPosition) {
    Node* p = AsNode(rPosition);
    rPosition = p->pPrev;
    return p->data;
}

const CString& CStringList::GetPrev(POSITION& rPosition) const {
    return const_cast<CStringList*>(this)->GetPrev(rPosition);
}

CString& CStringList::GetAt(POSITION position) {
    return AsNode(position)->data;
}
const CString& CStringList::GetAt(POSITION position) const {
    return AsNode(position)->data;
}
void CStringList::SetAt(POSITION pos, const CString& str) {
    AsNode(pos)->data = str;
}

void CStringList::RemoveAt(POSITION position) {
    Node* p = AsNode(position);
    if (p == m_pHead)
        m_pHead = p->pNext;
    else
        p->pPrev->pNext = p->pNext;
    if (p == m_pTail)
        m_pTail = p->pPrev;
    else
        p->pNext->pPrev = p->pPrev;
    FreeNode(p);
}

POSITION CStringList::InsertBefore(POSITION position, const CString& str) {
    if (!position) return AddHead(str);
    Node* old = AsNode(position);
    Node* p = NewNode(old->pPrev, old, str);
    if (old->pPrev)
        old->pPrev->pNext = p;
    else
        m_pHead = p;
    old->pPrev = p;
    return p;
}

POSITION CStringList::InsertAfter(POSITION position, const CString& str) {
    if (!position) return AddTail(str);
    Node* old = AsNode(position);
    Node* p = NewNode(old, old->pNext, str);
    if (old->pNext)
        old->pNext->pPrev = p;
    else
        m_pTail = p;
    old->pNext = p;
    return p;
}

POSITION CStringList::Find(LPCSTR searchValue, POSITION startAfter) const {
    Node* p = startAfter ? AsNode(startAfter)->pNext : m_pHead;
    for (; p; p = p->pNext)
        if (p->data == (searchValue ? searchValue : "")) return p;
    return nullptr;
}

POSITION CStringList::FindIndex(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    Node* p = m_pHead;
    while (nIndex-- > 0) p = p->pNext;
    return p;
}
