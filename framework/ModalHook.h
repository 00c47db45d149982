// CModalHook: a test's hand inside modal loops (test seam).
//
// Every CDialog::DoModal (and RunModalLoop) calls the installed handler once, when the dialog is shown and
// its loop is about to pump messages; in the product no handler is installed and nothing happens. The
// handler runs inside that loop, so it can click, type, advance a CVirtualClock, open further dialogs, and
// end the dialog; a nested dialog gets its own call. Tell dialogs apart by their class or template id:
//
//   CModalHook hook([&](CDialog* pDlg) {
//     if (pDlg->GetTemplateID() == IDD_PASSWORD) {
//       pDlg->SetDlgItemText(IDC_PASSWORD, "secret");
//       pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OK, BN_CLICKED), (LPARAM)pDlg->GetDlgItem(IDC_OK)->m_hWnd);
//     }
//   });
//
// A handler that does not end its dialog leaves it waiting for messages, as a user would.
#pragma once

#include <functional>

class CDialog;

class CModalHook {
public:
    typedef std::function<void(CDialog* pDialog)> Handler;

    // Installs the handler; the destructor puts the previous hook back.
    explicit CModalHook(Handler handler);
    CModalHook(const CModalHook&) = delete;
    CModalHook& operator=(const CModalHook&) = delete;
    ~CModalHook();

    // Called by the modal loop of pDialog before its first message.
    static void Notify(CDialog* pDialog);

private:
    Handler m_handler;
    CModalHook* m_pPrevious;
};
