// Locked read-modify-write of the provider's state file, shared by every process of the prefix.
#pragma once

#include "ProviderState.h"

#include <windows.h>

#include <string>

// Registry key of the provider's service; its NetworkProvider subkey is what mpr.dll reads.
#define ZT_PROVIDER_SERVICE L"ZtNetProvider"
#define ZT_PROVIDER_NAME L"Zentrive Test Network"
#define ZT_PROVIDER_NAME_A "Zentrive Test Network"
#define ZT_PROVIDER_KEY L"System\\CurrentControlSet\\Services\\" ZT_PROVIDER_SERVICE L"\\NetworkProvider"
// Environment variable with always-failing rules "call:code,call:code", on top of the file's rules.
#define ZT_PROVIDER_FAIL_VARIABLE L"ZT_NETPROVIDER_FAIL"

class CStateFile {
public:
    CStateFile() = default;
    CStateFile(const CStateFile&) = delete;
    CStateFile& operator=(const CStateFile&) = delete;
    ~CStateFile() { Close(); }

    // The file named by the StateFile value of the provider's key, else %windir%\temp\ztnetprovider.txt.
    static std::wstring Path();

    // Opens the file exclusively (waiting up to 5 s for another process to let go) and reads it.
    bool Open();
    CProviderState& State() { return m_state; }
    // Writes the state back; the file stays locked until Close.
    bool Save();
    void Close();

    // The error code the call is to fail with (environment rules first, then the file's), 0 to go on.
    uint32_t TakeFailure(const std::string& call);

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    CProviderState m_state;
};

// The name the provider is registered under (the Name value of its key; ztnpreg --name chooses it), else
// ZT_PROVIDER_NAME.
std::wstring RegisteredProviderName();

std::string ToUtf8(const wchar_t* text);
std::wstring FromUtf8(const std::string& text);
