// CIPSettingsPage: the IP settings page. For now its picture and the defaults of CWizardPage; the
// controls and their checks come with the page itself.
#pragma once

#include "../shell/WizardPage.h"

class CIPSettingsPage : public CWizardPage {
public:
    CIPSettingsPage();
};
