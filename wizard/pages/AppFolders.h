// The two folder strings of start-up, made from the current and the Windows directory. Portable.
#pragma once

#include <cstddef>

// pszOut (nOut bytes) = pszCurrent with a trailing backslash. When that does not fit, pszOut is empty.
void MakeAppDir(const char* pszCurrent, char* pszOut, size_t nOut);

// pszOut (nOut bytes) = the first three characters of pszWindows (drive, colon, backslash) + "Zentrive".
void MakeIconDir(const char* pszWindows, char* pszOut, size_t nOut);
