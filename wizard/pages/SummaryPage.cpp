// CSummaryPage: template IDD_SUMMARY with picture IDB_SUMMARY.
#include "SummaryPage.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"

CSummaryPage::CSummaryPage() : CWizardPage(IDD_SUMMARY, IDB_SUMMARY) {}
