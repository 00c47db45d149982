// CDialog: a dialog from a resource template. DoModal runs the library's own modal loop (owner disabled,
// messages pumped until EndDialog, dialog keys through IsDialogMessage), so modal dialogs nest: a handler
// may run another DoModal and gets that dialog's result while the outer loop waits. Create makes the
// template a modeless window, a child of its parent when the template has WS_CHILD (wizard pages).
#pragma once

#include "Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // IDOK, IDCANCEL or the value given to EndDialog; -1 when the template could not be created.
    virtual INT_PTR DoModal();
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Hides the dialog; modal: ends its loop with nResult (also from OnInitDialog, before the loop starts).
    void EndDialog(int nResult);

    // Default: exchanges data into the controls (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    // Default: UpdateData(TRUE), and when that succeeds EndDialog(IDOK).
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam) override;

    // The modal loop of DoModal, for a dialog that already exists.
    int RunModalLoop();
    BOOL ContinueModal() const { return m_bContinueModal; }
    void EndModalLoop(int nResult);

    UINT GetTemplateID() const { return m_nIDTemplate; }
    // The dialog whose modal loop runs innermost on this thread, NULL outside modal loops.
    static CDialog* GetInnermostModal();

protected:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    BOOL m_bContinueModal = FALSE;
    BOOL m_bInModalLoop = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateFromTemplate(UINT nIDTemplate, HWND hWndParent);
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

// The dialog procedure of every CDialog: calls OnInitDialog; everything else runs through AfxWndProc.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
