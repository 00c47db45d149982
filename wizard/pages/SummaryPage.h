// CSummaryPage: the summary page. For now its picture and the defaults of CWizardPage; the values and
// the apply step come with the page itself.
#pragma once

#include "../shell/WizardPage.h"

class CSummaryPage : public CWizardPage {
public:
    CSummaryPage();
};
