// The PC's drive connections as the tray sees them: remembered connections with a drive letter (and, on
// the Windows 95 family, current ones as well), through the Windows networking functions.
#pragma once

#include "StringList.h"

// True on the Windows 95/98/Me platform.
bool IsWin9xFamily();

// Appends the local name (e.g. "Z:") and the remote name of every connection with a drive letter, in the
// order the system lists them. Callers empty the lists first.
void EnumConnections(CStringList& localNames, CStringList& remoteNames);
