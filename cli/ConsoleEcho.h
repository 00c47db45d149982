// The terminal's echo, switched off while a password is typed (termios on Linux, the console mode on
// Windows), and whether standard input is a terminal at all.
#pragma once

bool IsConsoleInput();

class CConsoleEchoOff {
public:
    CConsoleEchoOff();
    ~CConsoleEchoOff();
    CConsoleEchoOff(const CConsoleEchoOff&) = delete;
    CConsoleEchoOff& operator=(const CConsoleEchoOff&) = delete;

private:
    unsigned long m_nSaved = 0;
    bool m_bChanged = false;
};
