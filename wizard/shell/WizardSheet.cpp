// CWizardSheet: activation, Next, Back, Cancel and finish, dragging by the background.
#include "WizardSheet.h"

#include "WizardState.h"
#include "../widgets/PaintPageBackground.h"

namespace {
const COLORREF kSheetColour = RGB(31, 27, 64);
const int kLastPageIndex = 4;  // the sixth page (index 5) is the last: Next there finishes the wizard
}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CWizardSheet, CDialog)
    ON_COMMAND(ID_WIZARD_SHEET_NEXT, OnSheetNext)
    ON_COMMAND(ID_WIZARD_SHEET_BACK, OnSheetBack)
    ON_WM_LBUTTONDOWN()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

CWizardSheet::CWizardSheet(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

void CWizardSheet::AddPage(CWizardPage* pPage, UINT nID) {
    pPage->m_nPageId = nID;
    m_pages.push_back(pPage);
}

CWizardPage* CWizardSheet::GetPage(int nIndex) const {
    return nIndex >= 0 && nIndex < GetPageCount() ? m_pages[static_cast<size_t>(nIndex)] : nullptr;
}

int CWizardSheet::GetActiveIndex() const {
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[static_cast<size_t>(i)]->m_bActive) return i;
    return -1;
}

CWizardPage* CWizardSheet::GetActivePage() const {
    return GetPage(GetActiveIndex());
}

int CWizardSheet::FindPage(UINT nID) const {
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[static_cast<size_t>(i)]->m_nPageId == nID) return i;
    return -1;
}

BOOL CWizardSheet::ActivatePage(CWizardPage* pPage) {
    if (!pPage) return FALSE;
    if (!pPage->m_bCreated || !::IsWindow(pPage->m_hWnd)) {
        pPage->m_pSheet = this;
        if (!pPage->Create(pPage->m_nPageId, this)) return FALSE;
        pPage->m_bCreated = TRUE;
        pPage->m_pSheet = this;
        if (!pPage->OnCreatePage()) return FALSE;
    }
    if (CWizardPage* pOld = GetActivePage()) {
        if (!pOld->OnKillActive()) return FALSE;
        pOld->ShowWindow(SW_HIDE);
        pOld->m_bActive = FALSE;
    }
    CRect rcPlace(0, 0, 0, 0);
    if (CWnd* pPlace = GetDlgItem(static_cast<int>(m_nPlaceholderId))) {
        pPlace->GetWindowRect(&rcPlace);
        ScreenToClient(&rcPlace);
    }
    pPage->SetWindowPos(nullptr, rcPlace.left, rcPlace.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pPage->EnableWindow(TRUE);
    pPage->ShowWindow(SW_SHOW);
    pPage->Invalidate();
    pPage->UpdateWindow();
    pPage->OnSetActive();
    pPage->m_bActive = TRUE;
    return TRUE;
}

BOOL CWizardSheet::OnInitDialog() {
    CDialog::OnInitDialog();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    ActivatePage(GetPage(0));
    m_bDrag = TRUE;
    if (!m_brBackground.m_hObject) m_brBackground.CreateSolidBrush(kSheetColour);
    return TRUE;
}

void CWizardSheet::Next() {
    const int i = GetActiveIndex();
    if (i < 0) return;
    g_lastPageIndex = i;
    CWizardPage* pActive = GetPage(i);
    if (i > kLastPageIndex) {
        pActive->OnWizardNext();
        if (!pActive->OnKillActive()) return;
        for (CWizardPage* pPage : m_pages)
            if (pPage->m_bCreated && !pPage->OnWizardFinish()) return;
        EndDialog(ID_WIZARD_FINISH);
        return;
    }
    const int r = pActive->OnWizardNext();
    if (r == WIZARD_STAY) return;
    const int nTarget = r == WIZARD_NEIGHBOUR ? i + 1 : FindPage(static_cast<UINT>(r));
    if (CWizardPage* pTarget = GetPage(nTarget)) ActivatePage(pTarget);
}

void CWizardSheet::Back() {
    const int i = GetActiveIndex();
    if (i < 0) return;
    g_lastPageIndex = i;
    if (i == 0) return;
    const int r = GetPage(i)->OnWizardBack();
    if (r == WIZARD_STAY) return;
    const int nTarget = r == WIZARD_NEIGHBOUR ? i - 1 : FindPage(static_cast<UINT>(r));
    if (CWizardPage* pTarget = GetPage(nTarget)) ActivatePage(pTarget);
}

void CWizardSheet::OnCancel() {
    for (CWizardPage* pPage : m_pages)
        if (pPage->m_bCreated && !pPage->OnQueryCancel()) return;
    CDialog::OnCancel();
}

void CWizardSheet::OnLButtonDown(UINT, CPoint point) {
    if (!m_bDrag) return;
    // The system's move loop starts from this point: it takes screen coordinates.
    ClientToScreen(&point);
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

HBRUSH CWizardSheet::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
    ColourPageControl(pDC, nCtlColor, kSheetColour);
    return m_brBackground;
}

void CWizardSheet::OnDestroy() {
    for (CWizardPage* pPage : m_pages) {
        if (!pPage->m_bCreated) continue;
        if (pPage->OnKillActive()) {
            pPage->OnDestroyPage();
            pPage->DestroyWindow();
            pPage->m_bCreated = FALSE;
        }
        // A page that refused dies with the sheet's window; it is no longer shown.
        pPage->m_bActive = FALSE;
    }
    CDialog::OnDestroy();
}
