// CSummaryPage: the settings about to be written, and on Save the apply step: confirmation, the write
// through the operation dialog, the outcome notice, and where the wizard goes next.
#pragma once

#include "../shell/WizardPage.h"

class CSummaryPage : public CWizardPage {
public:
    CSummaryPage();

    void OnSetActive() override;
    // -1 stay (confirmation cancelled), 0 finish page, 132 a new search (Redo), 1 close (Exit).
    int OnWizardNext() override;

protected:
    BOOL OnInitDialog() override;

    CFont m_labelFont;
};
