// Folder strings: nothing is written past the buffers, and a path that does not fit gives an empty string
// rather than a cut one (a cut folder would name another folder).
#include "AppFolders.h"

#include <cstring>

void MakeAppDir(const char* pszCurrent, char* pszOut, size_t nOut) {
    if (!nOut) return;
    pszOut[0] = '\0';
    if (!pszCurrent) return;
    size_t len = strlen(pszCurrent);
    const bool bSlash = len > 0 && pszCurrent[len - 1] == '\\';
    const size_t need = len + (bSlash ? 0 : 1) + 1;
    if (len == 0 || need > nOut) return;
    memcpy(pszOut, pszCurrent, len);
    if (!bSlash) pszOut[len++] = '\\';
    pszOut[len] = '\0';
}

void MakeIconDir(const char* pszWindows, char* pszOut, size_t nOut) {
    static const char kFolder[] = "Zentrive";
    if (!nOut) return;
    pszOut[0] = '\0';
    if (!pszWindows || strlen(pszWindows) < 3) return;
    if (3 + sizeof kFolder > nOut) return;
    memcpy(pszOut, pszWindows, 3);
    memcpy(pszOut + 3, kFolder, sizeof kFolder);
}
