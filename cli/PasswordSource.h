// CPasswordSource: the admin password, asked for without echo on a terminal, or read from a file or from
// standard input; never taken from the command line. Held in one fixed buffer that is wiped when the
// source goes.
#pragma once

#include <string>

#include "OperationRules.h"

class CPasswordSource {
public:
    enum class Kind { Prompt, File, Stdin };

    CPasswordSource(Kind kind, std::string path) : m_kind(kind), m_path(std::move(path)) {}
    ~CPasswordSource() { SecureZero(m_szPassword, sizeof m_szPassword); }
    CPasswordSource(const CPasswordSource&) = delete;
    CPasswordSource& operator=(const CPasswordSource&) = delete;

    // Reads the password once (later calls give the same); nullptr with a message when it cannot.
    const char* Get(std::string& error);

private:
    bool ReadLine(std::FILE* pFile, std::string& error);
    bool Prompt(std::string& error);
    // Standard input without echo when it is a terminal.
    bool ReadStdin(std::string& error);

    Kind m_kind;
    std::string m_path;
    bool m_bRead = false;
    char m_szPassword[PASSWORD_MAX_LENGTH + 1] = {};
};
