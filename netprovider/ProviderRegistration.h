// Registers the test network provider in a Wine prefix the way mpr.dll looks for providers, and takes it
// away again without a trace, so that tests that do not want it never see it. mpr.dll reads the
// registration once when it loads: register before the process that uses mpr starts.
#pragma once

#include <string>

// Adds the provider (dllPath) in front of HKLM\...\NetworkProvider\Order's ProviderOrder, keeping what was
// there, under the provider name given (a test may take the name of a provider that programs look for),
// and names the state file. False with a message when the registry refused.
bool InstallProvider(const std::wstring& dllPath, const std::wstring& stateFile, const std::wstring& name,
                     std::string& error);

// Undefines the provider's drive letters, forgets its remembered connections, deletes its state file and
// its keys, and restores the provider order as it was before InstallProvider.
void RemoveProvider();

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();
