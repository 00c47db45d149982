// Terminal echo on Linux.
#include <termios.h>
#include <unistd.h>

#include "ConsoleEcho.h"

bool IsConsoleInput() {
    return isatty(STDIN_FILENO) == 1;
}

CConsoleEchoOff::CConsoleEchoOff() {
    termios t;
    if (tcgetattr(STDIN_FILENO, &t) != 0) return;
    m_nSaved = t.c_lflag;
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    m_bChanged = tcsetattr(STDIN_FILENO, TCSAFLUSH, &t) == 0;
}

CConsoleEchoOff::~CConsoleEchoOff() {
    termios t;
    if (!m_bChanged || tcgetattr(STDIN_FILENO, &t) != 0) return;
    t.c_lflag = static_cast<tcflag_t>(m_nSaved);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &t);
}
