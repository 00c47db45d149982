// CTreeCtrl.
#include "TreeCtrl.h"

#include "ImageList.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

// The record of hItem that reads or writes the fields of nMask.
TVITEMA ItemRecord(HTREEITEM hItem, UINT nMask, LPSTR pszText = nullptr, LPARAM lParam = 0) {
    TVITEMA item = {};
    item.mask = nMask;
    item.hItem = hItem;
    item.pszText = pszText;
    item.lParam = lParam;
    return item;
}

}  // namespace

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = nMask;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    tvis.item.state = nState;
    tvis.item.stateMask = nStateMask;
    tvis.item.lParam = lParam;
    return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0, hParent,
                      hInsertAfter);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    char buffer[260] = "";
    TVITEMA item = ItemRecord(hItem, TVIF_TEXT, buffer);
    item.cchTextMax = sizeof buffer;
    return GetItem(&item) ? CString(buffer) : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR lpszItem) {
    TVITEMA item = ItemRecord(hItem, TVIF_TEXT, const_cast<LPSTR>(lpszItem));
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMA item = ItemRecord(hItem, TVIF_PARAM);
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    TVITEMA item = ItemRecord(hItem, TVIF_PARAM, nullptr, static_cast<LPARAM>(dwData));
    return SetItem(&item);
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageList) {
    HIMAGELIST hOld = reinterpret_cast<HIMAGELIST>(
        SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageList),
                    reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr)));
    return CImageList::FromHandle(hOld);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    TVHITTESTINFO hit = {};
    hit.pt = pt;
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (pFlags) *pFlags = hit.flags;
    return hItem;
}
