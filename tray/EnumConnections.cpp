// EnumConnections and IsWin9xFamily over mpr.dll.
#include "EnumConnections.h"

#include <windows.h>
#include <winnetwk.h>

#include <cstring>
#include <vector>

namespace {

constexpr DWORD ENUM_BUFFER_SIZE = 16384;

// Reads one enumeration to its end; onlyNewLetters skips local names already in localNames.
void ReadEnumeration(HANDLE hEnum, CStringList& localNames, CStringList& remoteNames, bool onlyNewLetters) {
    // NETRESOURCE entries point into the buffer; 8-byte alignment keeps their pointer fields aligned.
    std::vector<unsigned long long> buffer(ENUM_BUFFER_SIZE / sizeof(unsigned long long));
    for (;;) {
        std::memset(buffer.data(), 0, ENUM_BUFFER_SIZE);
        DWORD count = static_cast<DWORD>(-1);
        DWORD size = ENUM_BUFFER_SIZE;
        if (WNetEnumResourceA(hEnum, &count, buffer.data(), &size) != NO_ERROR) {
            return;
        }
        const NETRESOURCEA* entries = reinterpret_cast<const NETRESOURCEA*>(buffer.data());
        for (DWORD i = 0; i < count; i++) {
            const NETRESOURCEA& entry = entries[i];
            if (!entry.lpLocalName || !entry.lpLocalName[0]) {
                continue;
            }
            if (onlyNewLetters && localNames.Find(entry.lpLocalName)) {
                continue;
            }
            localNames.AddTail(entry.lpLocalName);
            remoteNames.AddTail(entry.lpRemoteName ? entry.lpRemoteName : "");
        }
    }
}

}  // namespace

bool IsWin9xFamily() {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) {
        return false;
    }
    return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void EnumConnections(CStringList& localNames, CStringList& remoteNames) {
    HANDLE hRemembered = nullptr;
    if (WNetOpenEnumA(RESOURCE_REMEMBERED, RESOURCETYPE_ANY, 0, nullptr, &hRemembered) != NO_ERROR) {
        return;
    }
    ReadEnumeration(hRemembered, localNames, remoteNames, false);
    WNetCloseEnum(hRemembered);

    if (IsWin9xFamily()) {
        HANDLE hConnected = nullptr;
        if (WNetOpenEnumA(RESOURCE_CONNECTED, RESOURCETYPE_ANY, 0, nullptr, &hConnected) == NO_ERROR) {
            ReadEnumeration(hConnected, localNames, remoteNames, true);
            WNetCloseEnum(hConnected);
        }
    }
}
