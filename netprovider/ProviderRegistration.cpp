// Registration of the test network provider: the keys mpr.dll reads, and their removal.
#include "ProviderRegistration.h"

#include "MountManager.h"
#include "StateFile.h"

#include <windows.h>

#include <vector>

namespace {

const wchar_t ORDER_KEY[] = L"System\\CurrentControlSet\\Control\\NetworkProvider\\Order";
const wchar_t SERVICE_KEY[] = L"System\\CurrentControlSet\\Services\\" ZT_PROVIDER_SERVICE;

bool ReadString(HKEY root, const wchar_t* key, const wchar_t* value, std::wstring& out) {
    DWORD size = 0;
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, 0);
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, buffer.data(), &size) != ERROR_SUCCESS) return false;
    out = buffer.data();
    return true;
}

LONG WriteString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The order without our own entry.
std::wstring OrderWithout(const std::wstring& order) {
    std::wstring out, item;
    for (size_t i = 0; i <= order.size(); i++) {
        if (i == order.size() || order[i] == L',') {
            if (!item.empty() && _wcsicmp(item.c_str(), ZT_PROVIDER_SERVICE) != 0)
                out += (out.empty() ? L"" : L",") + item;
            item.clear();
        } else {
            item += order[i];
        }
    }
    return out;
}

void ForgetOurRememberedConnections() {
    const std::wstring ourName = RegisteredProviderName();
    HKEY network;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Network", 0, KEY_READ | KEY_WRITE, &network) != ERROR_SUCCESS) return;
    std::vector<std::wstring> ours;
    wchar_t name[64];
    for (DWORD i = 0;; i++) {
        DWORD len = 64;
        if (RegEnumKeyExW(network, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        std::wstring provider;
        if (ReadString(network, name, L"ProviderName", provider) && provider == ourName) ours.push_back(name);
    }
    for (const std::wstring& key : ours) RegDeleteKeyW(network, key.c_str());
    RegCloseKey(network);
}

}  // namespace

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    DWORD len = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, len);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

bool InstallProvider(const std::wstring& dllPath, const std::wstring& stateFile, const std::wstring& name,
                     std::string& error) {
    HKEY provider;
    LONG rc =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, ZT_PROVIDER_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &provider, nullptr);
    if (rc != ERROR_SUCCESS) {
        error = "cannot create the provider key: " + std::to_string(rc);
        return false;
    }
    std::wstring order;
    bool hadOrder = ReadString(HKEY_LOCAL_MACHINE, ORDER_KEY, L"ProviderOrder", order);
    std::wstring saved;
    // A second install keeps the order saved by the first.
    if (!ReadString(HKEY_LOCAL_MACHINE, ZT_PROVIDER_KEY, L"SavedOrder", saved)) {
        DWORD had = hadOrder ? 1 : 0;
        WriteString(provider, L"SavedOrder", OrderWithout(order));
        RegSetValueExW(provider, L"HadOrder", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&had), sizeof had);
    }
    rc = WriteString(provider, L"Name", name.empty() ? std::wstring(ZT_PROVIDER_NAME) : name);
    if (rc == ERROR_SUCCESS) rc = WriteString(provider, L"ProviderPath", dllPath);
    if (rc == ERROR_SUCCESS) rc = WriteString(provider, L"StateFile", stateFile);
    DWORD networkClass = 1;  // WN_NETWORK_CLASS
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExW(provider, L"Class", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&networkClass),
                            sizeof networkClass);
    RegCloseKey(provider);
    if (rc != ERROR_SUCCESS) {
        error = "cannot write the provider key: " + std::to_string(rc);
        return false;
    }
    std::wstring rest = OrderWithout(order);
    std::wstring newOrder = std::wstring(ZT_PROVIDER_SERVICE) + (rest.empty() ? L"" : L",") + rest;
    HKEY orderKey;
    rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, ORDER_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &orderKey, nullptr);
    if (rc == ERROR_SUCCESS) {
        rc = WriteString(orderKey, L"ProviderOrder", newOrder);
        RegCloseKey(orderKey);
    }
    if (rc != ERROR_SUCCESS) {
        error = "cannot write the provider order: " + std::to_string(rc);
        return false;
    }
    return true;
}

void RemoveProvider() {
    {
        CStateFile file;
        if (file.Open()) {
            for (const CProviderState::Connection& c : file.State().Connections())
                if (!c.localName.empty()) RemoveDriveDefinition(static_cast<wchar_t>(c.localName[0]));
            file.Close();
        }
        DeleteFileW(CStateFile::Path().c_str());
    }
    ForgetOurRememberedConnections();

    std::wstring saved;
    DWORD hadOrder = 0, size = sizeof hadOrder;
    bool known = ReadString(HKEY_LOCAL_MACHINE, ZT_PROVIDER_KEY, L"SavedOrder", saved);
    RegGetValueW(HKEY_LOCAL_MACHINE, ZT_PROVIDER_KEY, L"HadOrder", RRF_RT_REG_DWORD, nullptr, &hadOrder, &size);
    HKEY orderKey;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ORDER_KEY, 0, KEY_READ | KEY_WRITE, &orderKey) == ERROR_SUCCESS) {
        std::wstring current;
        ReadString(HKEY_LOCAL_MACHINE, ORDER_KEY, L"ProviderOrder", current);
        std::wstring restored = known ? saved : OrderWithout(current);
        if (!hadOrder && restored.empty())
            RegDeleteValueW(orderKey, L"ProviderOrder");
        else
            WriteString(orderKey, L"ProviderOrder", restored);
        RegCloseKey(orderKey);
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, SERVICE_KEY);
}
