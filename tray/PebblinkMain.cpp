// The one application object of Pebblink; the class library's WinMain runs it.
#include "UtilityApp.h"

CUtilityApp theApp;
