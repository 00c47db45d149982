// CConfirmDlg: template 217 with picture 223; only OK and Cancel are shown.
#include "ConfirmDlg.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"

CConfirmDlg::CConfirmDlg(CWnd* pParent) : CSkinnedDlg(IDD_CONFIRM, IDB_CONFIRM, pParent) {}

BOOL CConfirmDlg::OnInitDialog() {
    CSkinnedDlg::OnInitDialog();
    // No caption is drawn; the title names the window for the task list and for automation.
    SetWindowText("Confirm settings");
    m_buttons[0].SubclassDlgItem(IDC_CONFIRM_EXIT, this);
    m_buttons[1].SubclassDlgItem(IDOK, this);
    m_buttons[2].SubclassDlgItem(IDCANCEL, this);
    GetDlgItem(IDOK)->ShowWindow(SW_SHOW);
    GetDlgItem(IDCANCEL)->ShowWindow(SW_SHOW);
    for (int nId : {IDC_CONFIRM_EXIT, IDC_CONFIRM_OPTION_1, IDC_CONFIRM_OPTION_2, IDC_CONFIRM_OPTION_3})
        GetDlgItem(nId)->ShowWindow(SW_HIDE);
    m_buttons[1].LoadButtonBitmap(IDB_BTN_OK);
    m_buttons[2].LoadButtonBitmap(IDB_BTN_CANCEL);
    m_buttons[0].LoadButtonBitmap(IDB_BTN_CONFIRM_EXIT);
    return TRUE;
}
