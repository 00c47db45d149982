// CStringList: block-allocated node list.
#include "StringList.h"

#include <cstring>

CStringList::CStringList(int nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CStringList::~CStringList() {
    RemoveAll();
}

CStringList::Node* CStringList::Link(Node* pPrev, Node* pNext, const CString& str) {
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
    (pPrev ? pPrev->pNext : m_pHead) = p;
    (pNext ? pNext->pPrev : m_pTail) = p;
    ++m_nCount;
    return p;
}

void CStringList::Unlink(Node* pNode) {
    (pNode->pPrev ? pNode->pPrev->pNext : m_pHead) = pNode->pNext;
    (pNode->pNext ? pNode->pNext->pPrev : m_pTail) = pNode->pPrev;
    pNode->data.Empty();
    pNode->pPrev = nullptr;
    pNode->pNext = m_pFree;
    m_pFree = pNode;
    if (--m_nCount == 0) RemoveAll();
}

CString& CStringList::DataOrNone(Node* pNode) {
    if (pNode) return pNode->data;
    m_none.Empty();
    return m_none;
}

CString& CStringList::Step(POSITION& rPosition, Node* Node::*pLink) {
    Node* p = AsNode(rPosition);
    rPosition = p->*pLink;
    return p->data;
}

CString CStringList::Remove(Node* pNode) {
    if (!pNode) return CString();
    CString value = pNode->data;
    Unlink(pNode);
    return value;
}

CString& CStringList::GetHead() {
    return DataOrNone(m_pHead);
}

const CString& CStringList::GetHead() const {
    return const_cast<CStringList*>(this)->GetHead();
}

CString& CStringList::GetTail() {
    return DataOrNone(m_pTail);
}

const CString& CStringList::GetTail() const {
    return const_cast<CStringList*>(this)->GetTail();
}

POSITION CStringList::AddHead(const CString& str) {
    return Link(nullptr, m_pHead, str);
}

POSITION CStringList::AddTail(const CString& str) {
    return Link(m_pTail, nullptr, str);
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
    return Remove(m_pHead);
}

CString CStringList::RemoveTail() {
    return Remove(m_pTail);
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
    return Step(rPosition, &Node::pNext);
}

const CString& CStringList::GetNext(POSITION& rPosition) const {
    return const_cast<CStringList*>(this)->GetNext(rPosition);
}

CString& CStringList::GetPrev(POSITION& rPosition) {
    return Step(rPosition, &Node::pPrev);
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
    Unlink(AsNode(position));
}

POSITION CStringList::InsertBefore(POSITION position, const CString& str) {
    if (!position) return AddHead(str);
    return Link(AsNode(position)->pPrev, AsNode(position), str);
}

POSITION CStringList::InsertAfter(POSITION position, const CString& str) {
    if (!position) return AddTail(str);
    return Link(AsNode(position), AsNode(position)->pNext, str);
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
