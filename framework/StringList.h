// CStringList: doubly linked list of CString, nodes taken from blocks of nBlockSize so that short queues do
// not allocate per element. POSITION is a node pointer: valid until that node is removed.
#pragma once

#include <memory>
#include <vector>

#include "Object.h"
#include "String.h"

class CStringList : public CObject {
public:
    explicit CStringList(int nBlockSize = 10);
    ~CStringList() override;

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // Head and tail of an empty list read as an empty string (a caller's mistake must not touch freed memory).
    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;

    POSITION AddHead(const CString& str);
    POSITION AddTail(const CString& str);
    void AddHead(const CStringList* pList);
    void AddTail(const CStringList* pList);
    // Removing from an empty list returns an empty string and changes nothing.
    CString RemoveHead();
    CString RemoveTail();
    void RemoveAll();

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    // Returns the element at rPosition and moves rPosition to the next (previous) one, NULL at the end.
    CString& GetNext(POSITION& rPosition);
    const CString& GetNext(POSITION& rPosition) const;
    CString& GetPrev(POSITION& rPosition);
    const CString& GetPrev(POSITION& rPosition) const;
    CString& GetAt(POSITION position);
    const CString& GetAt(POSITION position) const;
    void SetAt(POSITION pos, const CString& str);
    void RemoveAt(POSITION position);
    POSITION InsertBefore(POSITION position, const CString& str);
    POSITION InsertAfter(POSITION position, const CString& str);

    // Exact, case-sensitive search starting after startAfter (from the head when NULL).
    POSITION Find(LPCSTR searchValue, POSITION startAfter = nullptr) const;
    // Position of the nIndex-th element (0-based), NULL when out of range.
    POSITION FindIndex(int nIndex) const;

private:
    struct Node : __POSITION {
        Node* pNext = nullptr;
        Node* pPrev = nullptr;
        CString data;
    };

    // A node between pPrev and pNext (NULL: the list's end), taken from the free nodes.
    Node* Link(Node* pPrev, Node* pNext, const CString& str);
    // Takes the node out of the list and back to the free nodes; the last one out releases the blocks.
    void Unlink(Node* pNode);
    CString& DataOrNone(Node* pNode);
    CString Remove(Node* pNode);
    // The element at rPosition; rPosition moves along pLink.
    static CString& Step(POSITION& rPosition, Node* Node::*pLink);
    static Node* AsNode(POSITION pos) { return static_cast<Node*>(pos); }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
    Node* m_pFree = nullptr;
    int m_nBlockSize;
    std::vector<std::unique_ptr<Node[]>> m_blocks;
    mutable CString m_none;
};
