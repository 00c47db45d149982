// The one application object of Zentrive_Setup; the library's WinMain runs it.
#include "WizardApp.h"

CWizardApp theApp;
