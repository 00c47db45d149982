// Reading the admin password.
#include "PasswordSource.h"

#include <cstdio>

#include "ConsoleEcho.h"

bool CPasswordSource::ReadLine(std::FILE* pFile, std::string& error) {
    size_t nLength = 0;
    bool bTooLong = false;
    for (int c = std::fgetc(pFile); c != EOF && c != '\n'; c = std::fgetc(pFile)) {
        if (c == '\r') continue;
        if (nLength < PASSWORD_MAX_LENGTH)
            m_szPassword[nLength++] = static_cast<char>(c);
        else
            bTooLong = true;
    }
    m_szPassword[nLength] = 0;
    if (bTooLong) {
        SecureZero(m_szPassword, sizeof m_szPassword);
        error = "the admin password has at most 14 characters";
        return false;
    }
    return true;
}

bool CPasswordSource::Prompt(std::string& error) {
    if (!IsConsoleInput()) {
        error = "the appliance has an admin password: give it with --password-file or --password-stdin";
        return false;
    }
    std::fputs("Admin password: ", stderr);
    std::fflush(stderr);
    bool bOk = ReadStdin(error);
    std::fputs("\n", stderr);
    return bOk;
}

bool CPasswordSource::ReadStdin(std::string& error) {
    // Unbuffered, so that no copy of the password stays behind in the stream's buffer.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    CConsoleEchoOff echoOff;
    return ReadLine(stdin, error);
}

const char* CPasswordSource::Get(std::string& error) {
    if (m_bRead) return m_szPassword;
    bool bOk = false;
    switch (m_kind) {
        case Kind::Prompt:
            bOk = Prompt(error);
            break;
        case Kind::Stdin:
            bOk = ReadStdin(error);
            break;
        case Kind::File: {
            std::FILE* pFile = std::fopen(m_path.c_str(), "rb");
            if (!pFile) {
                error = "cannot read the password file " + m_path;
                return nullptr;
            }
            std::setvbuf(pFile, nullptr, _IONBF, 0);
            bOk = ReadLine(pFile, error);
            std::fclose(pFile);
            break;
        }
    }
    if (!bOk) return nullptr;
    m_bRead = true;
    return m_szPassword;
}
