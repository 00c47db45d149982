// Dialog data exchange between controls and members. DoDataExchange lists the pairs once; UpdateData(FALSE)
// writes the members into the controls, UpdateData(TRUE) reads them back and validates. A failed check shows
// its message, puts the focus on the control and makes UpdateData return FALSE (the remaining pairs are not
// exchanged).
//
//   void CPasswordDlg::DoDataExchange(CDataExchange* pDX) {
//     CDialog::DoDataExchange(pDX);
//     DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
//     DDV_MaxChars(pDX, m_strPassword, 14);     // also limits the edit to 14 characters when loading
//     DDX_Control(pDX, IDC_TREE, m_tree);       // binds the template's control to the member object
//   }
#pragma once

#include <windows.h>

#include "String.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
    BOOL m_bFailed = FALSE;
    HWND m_hWndLastControl = nullptr;

    // The control nIDC of the dialog (remembered for DDV_ and Fail); NULL when the template has none.
    HWND PrepareCtrl(int nIDC);
    // Marks the exchange failed and gives the focus to the last control.
    void Fail();
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Loading: limits the last control to nChars characters. Saving: a longer value fails the exchange with
// the message "Please enter no more than %d characters.".
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
