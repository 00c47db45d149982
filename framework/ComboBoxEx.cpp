// CComboBoxEx.
#include "ComboBoxEx.h"

#include "ImageList.h"

IMPLEMENT_DYNAMIC(CComboBoxEx, CWnd)

CImageList* CComboBoxEx::SetImageList(CImageList* pImageList) {
    HIMAGELIST hOld = reinterpret_cast<HIMAGELIST>(
        SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr)));
    return CImageList::FromHandle(hOld);
}

void CComboBoxEx::GetLBText(int nIndex, CString& rString) const {
    char buffer[MAX_PATH] = "";
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = nIndex;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    rString = SendMessage(CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? buffer : "";
}
