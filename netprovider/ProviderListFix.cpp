// The top level of a global network enumeration answered as Windows does (see ProviderListFix.h).
#include "ProviderListFix.h"

#include <winnetwk.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using OpenEnumA = DWORD(WINAPI*)(DWORD, DWORD, DWORD, LPNETRESOURCEA, LPHANDLE);
using EnumResourceA = DWORD(WINAPI*)(HANDLE, LPDWORD, LPVOID, LPDWORD);
using EnumResourceW = DWORD(WINAPI*)(HANDLE, LPDWORD, LPVOID, LPDWORD);
using CloseEnum = DWORD(WINAPI*)(HANDLE);

struct ProviderEntry {
    DWORD scope, type, displayType, usage;
    std::string remoteName, provider;
    bool hasRemoteName, hasProvider;
};

struct Listing {
    std::vector<ProviderEntry> entries;
    size_t next = 0;
};

OpenEnumA g_realOpen = nullptr;
EnumResourceA g_realEnum = nullptr;
CloseEnum g_realClose = nullptr;
std::map<HANDLE, Listing> g_listings;
int g_nTopLevelCalls = 0, g_nPassedCalls = 0;

std::string Narrow(const wchar_t* text) {
    int len = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(len > 0 ? len : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), len, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

size_t EntrySize(const ProviderEntry& e) {
    size_t size = sizeof(NETRESOURCEA);
    if (e.hasRemoteName) size += e.remoteName.size() + 1;
    if (e.hasProvider) size += e.provider.size() + 1;
    return size;
}

// Reads the router's list one provider per call, the one count its listing handles.
void ReadProviders(HANDLE hEnum, Listing& listing) {
    auto enumW = reinterpret_cast<EnumResourceW>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("mpr.dll"), "WNetEnumResourceW")));
    if (!enumW) return;
    alignas(NETRESOURCEW) static BYTE buffer[4096];
    for (;;) {
        DWORD count = 1, size = sizeof buffer;
        if (enumW(hEnum, &count, buffer, &size) != NO_ERROR || count != 1) return;
        const auto* r = reinterpret_cast<const NETRESOURCEW*>(buffer);
        listing.entries.push_back(
            {r->dwScope, r->dwType, r->dwDisplayType, r->dwUsage, r->lpRemoteName ? Narrow(r->lpRemoteName) : "",
             r->lpProvider ? Narrow(r->lpProvider) : "", r->lpRemoteName != nullptr, r->lpProvider != nullptr});
    }
}

DWORD WINAPI FixedOpenEnumA(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEA parent, LPHANDLE handle) {
    DWORD rc = g_realOpen(scope, type, usage, parent, handle);
    const bool bTop = parent == nullptr || (parent->lpProvider == nullptr && parent->lpRemoteName == nullptr &&
                                            parent->lpComment == nullptr);
    if (rc == NO_ERROR && scope == RESOURCE_GLOBALNET && bTop) {
        Listing& listing = g_listings[*handle];
        listing = Listing();
        ReadProviders(*handle, listing);
    }
    return rc;
}

DWORD WINAPI FixedEnumResourceA(HANDLE hEnum, LPDWORD count, LPVOID buffer, LPDWORD bufferSize) {
    auto it = g_listings.find(hEnum);
    if (it == g_listings.end()) {
        ++g_nPassedCalls;
        return g_realEnum(hEnum, count, buffer, bufferSize);
    }
    ++g_nTopLevelCalls;
    if (!count || !buffer || !bufferSize) return ERROR_INVALID_ADDRESS;
    Listing& listing = it->second;
    if (listing.next >= listing.entries.size()) {
        *count = 0;
        return ERROR_NO_MORE_ITEMS;
    }
    // Entries from the front, their texts from the back of the buffer.
    auto* out = static_cast<NETRESOURCEA*>(buffer);
    char* high = static_cast<char*>(buffer) + *bufferSize;
    DWORD given = 0;
    size_t used = 0;
    while (given < *count && listing.next < listing.entries.size()) {
        const ProviderEntry& e = listing.entries[listing.next];
        if (used + EntrySize(e) > *bufferSize) break;
        used += EntrySize(e);
        NETRESOURCEA& r = out[given];
        std::memset(&r, 0, sizeof r);
        r.dwScope = e.scope;
        r.dwType = e.type;
        r.dwDisplayType = e.displayType;
        r.dwUsage = e.usage;
        auto pack = [&](const std::string& text) {
            high -= text.size() + 1;
            std::memcpy(high, text.c_str(), text.size() + 1);
            return high;
        };
        if (e.hasRemoteName) r.lpRemoteName = pack(e.remoteName);
        if (e.hasProvider) r.lpProvider = pack(e.provider);
        ++given;
        ++listing.next;
    }
    *count = given;
    if (given == 0) {
        *bufferSize = static_cast<DWORD>(EntrySize(listing.entries[listing.next]));
        return ERROR_MORE_DATA;
    }
    return NO_ERROR;
}

DWORD WINAPI FixedCloseEnum(HANDLE hEnum) {
    g_listings.erase(hEnum);
    return g_realClose(hEnum);
}

// Points the module's import slot that holds pfnReal at pfnNew; false when the module has no such slot.
bool Redirect(HMODULE hModule, void* pfnReal, void* pfnNew) {
    auto* base = reinterpret_cast<BYTE*>(hModule);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return false;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "mpr.dll") != 0) continue;
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); slot->u1.Function; ++slot) {
            if (reinterpret_cast<void*>(slot->u1.Function) != pfnReal) continue;
            DWORD dwOld;
            if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &dwOld)) return false;
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(pfnNew);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, dwOld, &dwOld);
            return true;
        }
    }
    return false;
}

void* Proc(const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("mpr.dll"), name));
}

}  // namespace

CProviderListFix::CProviderListFix(HMODULE hModule) : m_hModule(hModule ? hModule : GetModuleHandleA(nullptr)) {
    if (!GetModuleHandleA("mpr.dll")) return;
    g_realOpen = reinterpret_cast<OpenEnumA>(Proc("WNetOpenEnumA"));
    g_realEnum = reinterpret_cast<EnumResourceA>(Proc("WNetEnumResourceA"));
    g_realClose = reinterpret_cast<CloseEnum>(Proc("WNetCloseEnum"));
    g_nTopLevelCalls = g_nPassedCalls = 0;
    m_nPatched += Redirect(m_hModule, reinterpret_cast<void*>(g_realOpen), reinterpret_cast<void*>(FixedOpenEnumA));
    m_nPatched += Redirect(m_hModule, reinterpret_cast<void*>(g_realEnum), reinterpret_cast<void*>(FixedEnumResourceA));
    m_nPatched += Redirect(m_hModule, reinterpret_cast<void*>(g_realClose), reinterpret_cast<void*>(FixedCloseEnum));
}

CProviderListFix::~CProviderListFix() {
    Redirect(m_hModule, reinterpret_cast<void*>(FixedOpenEnumA), reinterpret_cast<void*>(g_realOpen));
    Redirect(m_hModule, reinterpret_cast<void*>(FixedEnumResourceA), reinterpret_cast<void*>(g_realEnum));
    Redirect(m_hModule, reinterpret_cast<void*>(FixedCloseEnum), reinterpret_cast<void*>(g_realClose));
    g_listings.clear();
}

int CProviderListFix::TopLevelCalls() const {
    return g_nTopLevelCalls;
}

int CProviderListFix::PassedCalls() const {
    return g_nPassedCalls;
}
