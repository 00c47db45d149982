// CServerPage: template IDD_SERVER with picture IDB_SERVER.
#include "ServerPage.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"

CServerPage::CServerPage() : CWizardPage(IDD_SERVER, IDB_SERVER) {}
