// CDialog: template creation, the nested modal loop, OK/Cancel and command routing.
#include "Dialog.h"

#include <algorithm>
#include <vector>

#include "ModalHook.h"
#include "TimerSource.h"
#include "WinThread.h"

namespace {

std::vector<CDialog*> g_modalStack;

// Command ids of menus and the application (ID_APP_EXIT ...), as opposed to control ids.
bool IsCommandId(UINT nID) {
    return (nID & 0x8000) != 0 && nID < 0xF000;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()
// clang-format on

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog* CDialog::GetInnermostModal() {
    return g_modalStack.empty() ? nullptr : g_modalStack.back();
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* pDlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDlg ? pDlg->OnInitDialog() : TRUE;
}

BOOL CDialog::CreateFromTemplate(UINT nIDTemplate, HWND hWndParent) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDTemplate), MAKEINTRESOURCEA(5));  // RT_DIALOG
    HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    auto lpTemplate = static_cast<LPCDLGTEMPLATEA>(hTemplate ? ::LockResource(hTemplate) : nullptr);
    if (!lpTemplate) return FALSE;
    m_nIDTemplate = nIDTemplate;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, hWndParent, &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hWnd && m_hWnd) Detach();
    return hWnd != nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    if (pParentWnd) m_pParentWnd = pParentWnd;
    return CreateFromTemplate(nIDTemplate, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
}

INT_PTR CDialog::DoModal() {
    // The owner is the given parent's top-level window, else the main window (unless that is this dialog).
    HWND hWndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWnd* pMain = AfxGetMainWnd();
    if (!hWndOwner && pMain && pMain != this && ::IsWindow(pMain->m_hWnd)) hWndOwner = pMain->m_hWnd;
    while (hWndOwner && (::GetWindowLongA(hWndOwner, GWL_STYLE) & WS_CHILD)) hWndOwner = ::GetParent(hWndOwner);
    BOOL bEnableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner) ::EnableWindow(hWndOwner, FALSE);

    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    if (CreateFromTemplate(m_nIDTemplate, hWndOwner)) {
        if (m_bContinueModal) RunModalLoop();
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_bContinueModal = FALSE;
    if (bEnableOwner) ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    return m_nModalResult;
}

int CDialog::RunModalLoop() {
    m_bContinueModal = TRUE;
    m_bInModalLoop = TRUE;
    g_modalStack.push_back(this);
    if (!(GetStyle() & WS_VISIBLE)) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
    }
    CModalHook::Notify(this);
    MSG msg;
    while (m_bContinueModal) {
        // A dialog destroyed under its loop (by a handler, or with its owner) has nothing left to wait for.
        if (!m_hWnd) {
            m_bContinueModal = FALSE;
            break;
        }
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CTimerSource::Current()->OnIdle()) ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The quit belongs to the application's loop: put it back and give up this dialog.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    g_modalStack.erase(std::find(g_modalStack.begin(), g_modalStack.end(), this));
    m_bInModalLoop = FALSE;
    m_bContinueModal = FALSE;
    return m_nModalResult;
}

void CDialog::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = FALSE;
        // Wakes a loop that waits in WaitMessage.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

void CDialog::EndDialog(int nResult) {
    if (m_bContinueModal || m_bInModalLoop) EndModalLoop(nResult);
    // Hides the dialog now: a modal loop further down the stack may keep running until a nested one ends.
    if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Dialog keys (Tab, Enter, Esc, arrows) for the controls of a top-level dialog and of its child pages.
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || (GetStyle() & WS_CHILD)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCmdMsg(nID, nCode, wParam, lParam)) return TRUE;
    // Application commands that a dialog does not handle go to its parent, then to the application.
    if (nCode != CN_COMMAND || !IsCommandId(nID)) return FALSE;
    CWnd* pParent = FromHandlePermanent(::GetParent(m_hWnd));
    if (pParent && pParent->OnCmdMsg(nID, nCode, wParam, lParam)) return TRUE;
    CWinThread* pApp = AfxGetThread();
    return pApp && pApp->OnCmdMsg(nID, nCode, wParam, lParam);
}
