// CWelcomePage: the first page. Painted only: its picture carries every text, the hooks keep their defaults.
#pragma once

#include "../shell/WizardPage.h"

class CWelcomePage : public CWizardPage {
public:
    CWelcomePage();
};
