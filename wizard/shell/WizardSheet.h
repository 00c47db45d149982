// CWizardSheet: the page host. Keeps the registered pages in order, shows one at a time at the
// placeholder's corner, and moves between them by the pages' Next and Back answers.
#pragma once

#include <vector>

#include "WizardPage.h"

// The sheet's own commands and its finish result.
#define ID_WIZARD_SHEET_NEXT 12324
#define ID_WIZARD_SHEET_BACK 12323
#define ID_WIZARD_FINISH 12325

class CWizardSheet : public CDialog {
public:
    CWizardSheet(UINT nIDTemplate, CWnd* pParent = nullptr);

    // The page is owned by the caller; nID is its template id and page id.
    void AddPage(CWizardPage* pPage, UINT nID);
    void SetPlaceholder(UINT nID) { m_nPlaceholderId = nID; }

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CWizardPage* GetPage(int nIndex) const;
    CWizardPage* GetActivePage() const;
    int GetActiveIndex() const;
    // List index of the page with this id, -1 when none has it.
    int FindPage(UINT nID) const;

    // Shows the page (creating its window first); FALSE when a page refused and nothing changed.
    BOOL ActivatePage(CWizardPage* pPage);

    void Next();
    void Back();

    BOOL OnInitDialog() override;
    // Cancel when every created page agrees.
    void OnCancel() override;
    // Enter in a page or on the sheet is not a command of the wizard.
    void OnOK() override {}

    BOOL m_bDrag = FALSE;

protected:
    afx_msg void OnSheetNext() { Next(); }
    afx_msg void OnSheetBack() { Back(); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();

    std::vector<CWizardPage*> m_pages;
    UINT m_nPlaceholderId = 0;
    CBrush m_brBackground;

    DECLARE_MESSAGE_MAP()
};
