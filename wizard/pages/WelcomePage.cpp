// CWelcomePage: template IDD_WELCOME with picture IDB_WELCOME.
#include "WelcomePage.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"

CWelcomePage::CWelcomePage() : CWizardPage(IDD_WELCOME, IDB_WELCOME) {}
