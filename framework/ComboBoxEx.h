// CComboBoxEx: the extended combo box (ComboBoxEx32), items with images.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Wnd.h"

class CImageList;

class CComboBoxEx : public CWnd {
    DECLARE_DYNAMIC(CComboBoxEx)

public:
    // Index of the new item, -1 on failure.
    int InsertItem(const COMBOBOXEXITEMA* pCBItem) {
        return static_cast<int>(SendMessage(CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(pCBItem)));
    }
    int DeleteItem(int iIndex) { return static_cast<int>(SendMessage(CBEM_DELETEITEM, static_cast<WPARAM>(iIndex))); }
    BOOL GetItem(COMBOBOXEXITEMA* pCBItem) {
        return static_cast<BOOL>(SendMessage(CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(pCBItem)));
    }
    BOOL SetItem(const COMBOBOXEXITEMA* pCBItem) {
        return static_cast<BOOL>(SendMessage(CBEM_SETITEMA, 0, reinterpret_cast<LPARAM>(pCBItem)));
    }
    CImageList* SetImageList(CImageList* pImageList);
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    // The text of item nIndex (empty when there is none).
    void GetLBText(int nIndex, CString& rString) const;
};
