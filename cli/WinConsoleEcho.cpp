// Console echo on Windows.
#include <windows.h>

#include "ConsoleEcho.h"

bool IsConsoleInput() {
    DWORD nMode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &nMode) != 0;
}

CConsoleEchoOff::CConsoleEchoOff() {
    HANDLE hInput = GetStdHandle(STD_INPUT_HANDLE);
    DWORD nMode = 0;
    if (!GetConsoleMode(hInput, &nMode)) return;
    m_nSaved = nMode;
    m_bChanged = SetConsoleMode(hInput, nMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
}

CConsoleEchoOff::~CConsoleEchoOff() {
    if (m_bChanged) SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), static_cast<DWORD>(m_nSaved));
}
