// CIPSettingsPage: template IDD_IP_SETTINGS with picture IDB_IP_SETTINGS.
#include "IPSettingsPage.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"

CIPSettingsPage::CIPSettingsPage() : CWizardPage(IDD_IP_SETTINGS, IDB_IP_SETTINGS) {}
