// CFinishPage: the last page, after a successful write. Painted only: its picture carries every text.
#pragma once

#include "../shell/WizardPage.h"

class CFinishPage : public CWizardPage {
public:
    CFinishPage();
};
