// The PC adapter used for the subnet test: the first one GetAdaptersInfo lists whose description does not
// begin with "PPP Adapter" (or the one holding a given local address), with its first address and mask as
// dotted text.
#pragma once

#include <windows.h>

#include <cstdint>

class CLocalAdapter {
public:
    // Enumerates the adapters. FALSE when the enumeration failed; GetError() is its error code. Having no
    // suitable adapter is not a failure: HasAdapter() is then FALSE. With dwPreferred (a local address, network
    // order), the adapter whose first address it is, when there is one.
    BOOL Choose(uint32_t dwPreferred = 0);
    BOOL HasAdapter() const { return m_szAddress[0] != 0; }
    LPCSTR GetAddress() const { return m_szAddress; }
    LPCSTR GetMask() const { return m_szMask; }
    DWORD GetError() const { return m_dwError; }
    // The system's text for the enumeration's error code.
    void ShowError(HWND hOwner) const;

private:
    char m_szAddress[16] = "";
    char m_szMask[16] = "";
    DWORD m_dwError = 0;
};
