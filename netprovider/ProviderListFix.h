// CProviderListFix: answers the top level of a global network enumeration (the list of providers) in a test
// program the way Windows does, because Wine's router cannot: asked for more entries than there are
// providers (a program asking for 500 at a time), it reads past its provider table and crashes or spins.
//
// While an instance lives, the calling program's imports of mpr's WNetOpenEnumA, WNetEnumResourceA and
// WNetCloseEnum are redirected. An enumeration opened at the top (global scope, no parent) is read out of
// the real router at once, one provider per call (the count it handles), and then handed to the program
// as Windows would: as many entries as fit into the buffer size given, ERROR_MORE_DATA when not even the
// next one fits, ERROR_NO_MORE_ITEMS at the end. Every other enumeration goes to the router unchanged.
#pragma once

#include <windows.h>

class CProviderListFix {
public:
    // Redirects the imports of the module (NULL: the program itself).
    explicit CProviderListFix(HMODULE hModule = nullptr);
    ~CProviderListFix();
    CProviderListFix(const CProviderListFix&) = delete;
    CProviderListFix& operator=(const CProviderListFix&) = delete;

    // All three imports were found and redirected.
    bool IsActive() const { return m_nPatched == 3; }
    // Top-level enumerations answered and calls passed to the router, since the instance was made.
    int TopLevelCalls() const;
    int PassedCalls() const;

private:
    HMODULE m_hModule;
    int m_nPatched = 0;
};
