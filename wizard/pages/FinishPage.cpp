// CFinishPage: template IDD_FINISH with picture IDB_FINISH.
#include "FinishPage.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"

CFinishPage::CFinishPage() : CWizardPage(IDD_FINISH, IDB_FINISH) {}
