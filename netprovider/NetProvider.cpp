// A network provider for Wine's multiple-provider router (mpr.dll) standing in for an SMB redirector in
// tests: connections live in the shared state file, drive letters are defined through the mount manager so
// that they report DRIVE_REMOTE, and the remembered entry HKCU\Network\<letter> is written as Windows does
// for WNetAddConnection. A global enumeration of its children lists the state file's workgroups, so that a
// test can give programs a network neighbourhood. Calls fail with chosen codes when the state file or
// ZT_NETPROVIDER_FAIL says so.
#include "MountManager.h"
#include "StateFile.h"

#include <windows.h>
#include <winnetwk.h>
#include <wnnc.h>

#include <cstring>
#include <vector>

namespace {

// The provider interface's capability indices and answers. The SDK's npapi.h declares the NP entry points
// without C linkage, so they are not taken from there.
constexpr DWORD WNNC_SPEC_VERSION = 0x00000001;
constexpr DWORD WNNC_SPEC_VERSION51 = 0x00050001;
constexpr DWORD WNNC_NET_TYPE = 0x00000002;
constexpr DWORD WNNC_DRIVER_VERSION = 0x00000003;
constexpr DWORD WNNC_CONNECTION = 0x00000006;
constexpr DWORD WNNC_CON_ADDCONNECTION = 0x00000001;
constexpr DWORD WNNC_CON_CANCELCONNECTION = 0x00000002;
constexpr DWORD WNNC_CON_GETCONNECTIONS = 0x00000004;
constexpr DWORD WNNC_CON_ADDCONNECTION3 = 0x00000008;
constexpr DWORD WNNC_ENUMERATION = 0x0000000B;
constexpr DWORD WNNC_ENUM_GLOBAL = 0x00000001;
constexpr DWORD WNNC_ENUM_LOCAL = 0x00000002;
constexpr DWORD WNNC_START = 0x0000000C;

constexpr DWORD PROVIDER_NET_TYPE = WNNC_NET_RDR2SAMPLE;

// mpr matches entries to providers by the registered name, which a test may choose.
const std::wstring& ProviderName() {
    static const std::wstring name = RegisteredProviderName();
    return name;
}

std::wstring RememberedKey(wchar_t letter) {
    return std::wstring(L"Network\\") + letter;
}

// The values Windows keeps for a remembered drive, of which Wine's router reads RemotePath, ProviderName and
// ConnectionType.
void Remember(wchar_t letter, const std::wstring& remote) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RememberedKey(letter).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    auto setString = [&](const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    auto setDword = [&](const wchar_t* name, DWORD value) {
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    };
    setString(L"RemotePath", remote);
    setString(L"UserName", L"");
    setString(L"ProviderName", ProviderName());
    setDword(L"ProviderType", PROVIDER_NET_TYPE);
    setDword(L"ConnectionType", RESOURCETYPE_DISK);
    setDword(L"DeferFlags", 4);
    RegCloseKey(key);
}

void Forget(wchar_t letter) {
    RegDeleteKeyW(HKEY_CURRENT_USER, RememberedKey(letter).c_str());
}

// One entry of an enumeration, as NETRESOURCEW will carry it.
struct Entry {
    std::wstring localName;
    bool hasLocalName;  // connections carry one (empty: none); workgroups do not
    std::wstring remoteName;
    DWORD scope, displayType, usage;
};

struct CEnumeration {
    std::vector<Entry> entries;
    size_t next = 0;
};

// Copies text to the top of the free space [low, high), moving high down; false when it does not fit.
bool PackString(const std::wstring& text, BYTE*& high, BYTE* low, LPWSTR& target) {
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (static_cast<size_t>(high - low) < bytes) return false;
    high -= bytes;
    std::memcpy(high, text.c_str(), bytes);
    target = reinterpret_cast<LPWSTR>(high);
    return true;
}

size_t EntrySize(const Entry& e) {
    size_t chars = e.remoteName.size() + 1 + ProviderName().size() + 1;
    if (e.hasLocalName) chars += e.localName.size() + 1;
    return sizeof(NETRESOURCEW) + chars * sizeof(wchar_t);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

DWORD WINAPI NPGetCaps(DWORD index) {
    switch (index) {
        case WNNC_SPEC_VERSION:
            return WNNC_SPEC_VERSION51;
        case WNNC_NET_TYPE:
            return PROVIDER_NET_TYPE;
        case WNNC_DRIVER_VERSION:
            return 1;
        case WNNC_CONNECTION:
            return WNNC_CON_ADDCONNECTION | WNNC_CON_ADDCONNECTION3 | WNNC_CON_CANCELCONNECTION |
                   WNNC_CON_GETCONNECTIONS;
        case WNNC_ENUMERATION:
            return WNNC_ENUM_LOCAL | WNNC_ENUM_GLOBAL;
        case WNNC_START:
            return 1;
        default:
            return 0;
    }
}

DWORD WINAPI NPAddConnection3(HWND, LPNETRESOURCEW resource, LPWSTR, LPWSTR, DWORD flags) {
    CStateFile file;
    if (!file.Open()) return WN_NET_ERROR;
    if (DWORD code = file.TakeFailure("NPAddConnection3")) return code;
    if (resource == nullptr || resource->lpRemoteName == nullptr) return WN_BAD_NETNAME;
    if (resource->dwType != RESOURCETYPE_DISK && resource->dwType != RESOURCETYPE_ANY) return WN_BAD_DEV_TYPE;
    std::string remote = ToUtf8(resource->lpRemoteName);
    if (!CProviderState::IsUncPath(remote)) return WN_BAD_NETNAME;
    std::string local = ToUtf8(resource->lpLocalName);
    CProviderState& state = file.State();
    std::string drive;
    if (!local.empty()) {
        drive = CProviderState::NormalizeDrive(local);
        if (drive.empty()) return WN_BAD_LOCALNAME;
        wchar_t root[] = {static_cast<wchar_t>(drive[0]), L':', L'\\', 0};
        if (state.FindByLocal(drive) != nullptr || GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR)
            return WN_ALREADY_CONNECTED;
        if (!DefineRemoteDrive(root[0], resource->lpRemoteName)) return WN_NET_ERROR;
    }
    state.Add({drive, remote});
    if (!file.Save()) {
        if (!drive.empty()) RemoveDriveDefinition(static_cast<wchar_t>(drive[0]));
        return WN_NET_ERROR;
    }
    if (!drive.empty() && !(flags & CONNECT_TEMPORARY))
        Remember(static_cast<wchar_t>(drive[0]), resource->lpRemoteName);
    return WN_SUCCESS;
}

DWORD WINAPI NPAddConnection(LPNETRESOURCEW resource, LPWSTR password, LPWSTR userName) {
    return NPAddConnection3(nullptr, resource, password, userName, 0);
}

DWORD WINAPI NPCancelConnection(LPWSTR name, BOOL) {
    CStateFile file;
    if (!file.Open()) return WN_NET_ERROR;
    if (DWORD code = file.TakeFailure("NPCancelConnection")) return code;
    std::string text = ToUtf8(name);
    CProviderState& state = file.State();
    const CProviderState::Connection* found =
        text.find(':') != std::string::npos ? state.FindByLocal(text) : state.FindDevicelessByRemote(text);
    if (found == nullptr) return WN_NOT_CONNECTED;
    std::string drive = found->localName;
    state.Remove(drive.empty() ? text : drive);
    if (!file.Save()) return WN_NET_ERROR;
    if (!drive.empty()) {
        RemoveDriveDefinition(static_cast<wchar_t>(drive[0]));
        // The tray utility cancels with CONNECT_UPDATE_PROFILE, which forgets the remembered entry; the
        // router does not pass the flags on, and Wine's does not forget it itself.
        Forget(static_cast<wchar_t>(drive[0]));
    }
    return WN_SUCCESS;
}

DWORD WINAPI NPGetConnection(LPWSTR localName, LPWSTR remoteName, LPDWORD bufferLength) {
    CStateFile file;
    if (!file.Open()) return WN_NET_ERROR;
    if (DWORD code = file.TakeFailure("NPGetConnection")) return code;
    if (bufferLength == nullptr) return WN_BAD_POINTER;
    const CProviderState::Connection* found = file.State().FindByLocal(ToUtf8(localName));
    if (found == nullptr) return WN_NOT_CONNECTED;
    std::wstring remote = FromUtf8(found->remoteName);
    DWORD needed = static_cast<DWORD>(remote.size() + 1);
    if (remoteName == nullptr || *bufferLength < needed) {
        *bufferLength = needed;
        return WN_MORE_DATA;
    }
    std::memcpy(remoteName, remote.c_str(), needed * sizeof(wchar_t));
    return WN_SUCCESS;
}

DWORD WINAPI NPOpenEnum(DWORD scope, DWORD, DWORD, LPNETRESOURCEW parent, LPHANDLE handle) {
    CStateFile file;
    if (!file.Open()) return WN_NET_ERROR;
    if (DWORD code = file.TakeFailure("NPOpenEnum")) return code;
    if (handle == nullptr) return WN_BAD_POINTER;
    auto* enumeration = new CEnumeration;
    if (scope == RESOURCE_CONNECTED) {
        for (const CProviderState::Connection& c : file.State().Connections())
            enumeration->entries.push_back({FromUtf8(c.localName), true, FromUtf8(c.remoteName), RESOURCE_CONNECTED,
                                            RESOURCEDISPLAYTYPE_SHARE, 0});
    } else if (scope == RESOURCE_GLOBALNET) {
        // The provider's own top (named after the provider, or unnamed: mpr drops the name of a container
        // that is the provider) holds the workgroups; below a workgroup there is nothing.
        if (parent == nullptr || parent->lpRemoteName == nullptr || *parent->lpRemoteName == 0 ||
            ProviderName() == parent->lpRemoteName)
            for (const std::string& name : file.State().Workgroups())
                enumeration->entries.push_back({L"", false, FromUtf8(name), RESOURCE_GLOBALNET,
                                                RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEUSAGE_CONTAINER});
    } else {
        delete enumeration;
        return WN_NOT_SUPPORTED;
    }
    *handle = enumeration;
    return WN_SUCCESS;
}

DWORD WINAPI NPEnumResource(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD bufferSize) {
    {
        CStateFile file;
        if (file.Open())
            if (DWORD code = file.TakeFailure("NPEnumResource")) return code;
    }
    auto* enumeration = static_cast<CEnumeration*>(handle);
    if (enumeration == nullptr || count == nullptr || bufferSize == nullptr) return WN_BAD_POINTER;
    if (enumeration->next >= enumeration->entries.size()) {
        *count = 0;
        return WN_NO_MORE_ENTRIES;
    }
    BYTE* high = static_cast<BYTE*>(buffer) + (buffer ? *bufferSize : 0);
    DWORD wanted = *count, given = 0;
    auto* out = static_cast<NETRESOURCEW*>(buffer);
    while (given < wanted && enumeration->next < enumeration->entries.size()) {
        const Entry& e = enumeration->entries[enumeration->next];
        BYTE* entryEnd = reinterpret_cast<BYTE*>(out + given + 1);
        size_t strings = EntrySize(e) - sizeof(NETRESOURCEW);
        if (buffer == nullptr || entryEnd > high || static_cast<size_t>(high - entryEnd) < strings) break;
        NETRESOURCEW& r = out[given];
        std::memset(&r, 0, sizeof r);
        BYTE* top = high;
        BYTE* floor = entryEnd;
        if ((e.hasLocalName && !PackString(e.localName, top, floor, r.lpLocalName)) ||
            !PackString(e.remoteName, top, floor, r.lpRemoteName) ||
            !PackString(ProviderName(), top, floor, r.lpProvider))
            break;
        high = top;
        r.dwScope = e.scope;
        r.dwType = e.scope == RESOURCE_CONNECTED ? RESOURCETYPE_DISK : RESOURCETYPE_ANY;
        r.dwDisplayType = e.displayType;
        r.dwUsage = e.usage;
        if (e.localName.empty()) r.lpLocalName = nullptr;
        given++;
        enumeration->next++;
    }
    *count = given;
    if (given == 0) {
        *bufferSize = static_cast<DWORD>(EntrySize(enumeration->entries[enumeration->next]));
        return WN_MORE_DATA;
    }
    return WN_SUCCESS;
}

DWORD WINAPI NPCloseEnum(HANDLE handle) {
    delete static_cast<CEnumeration*>(handle);
    return WN_SUCCESS;
}

}  // extern "C"
