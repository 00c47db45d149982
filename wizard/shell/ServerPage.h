// CServerPage: the server name, workgroup and clock page. For now its picture and the defaults of
// CWizardPage; the controls and their checks come with the page itself.
#pragma once

#include "WizardPage.h"

class CServerPage : public CWizardPage {
public:
    CServerPage();
};
