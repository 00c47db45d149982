// The provider's state file: one exclusive handle per read-modify-write.
#include "StateFile.h"

#include <vector>

std::string ToUtf8(const wchar_t* text) {
    if (text == nullptr || *text == 0) return "";
    int len = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(len > 0 ? len : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), len, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return L"";
    int len = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(len > 0 ? len : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), len);
    out.resize(out.size() - 1);
    return out;
}

std::wstring CStateFile::Path() {
    wchar_t path[MAX_PATH];
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, ZT_PROVIDER_KEY, L"StateFile", RRF_RT_REG_SZ, nullptr, path, &size) ==
        ERROR_SUCCESS)
        return path;
    UINT len = GetWindowsDirectoryW(path, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return L"C:\\windows\\temp\\ztnetprovider.txt";
    return std::wstring(path) + L"\\temp\\ztnetprovider.txt";
}

std::wstring RegisteredProviderName() {
    wchar_t name[256];
    DWORD size = sizeof name;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, ZT_PROVIDER_KEY, L"Name", RRF_RT_REG_SZ, nullptr, name, &size) ==
            ERROR_SUCCESS &&
        name[0] != 0)
        return name;
    return ZT_PROVIDER_NAME;
}

bool CStateFile::Open() {
    Close();
    std::wstring path = Path();
    for (int waited = 0; waited < 5000; waited += 20) {
        m_file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
        if (m_file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
        Sleep(20);
    }
    if (m_file == INVALID_HANDLE_VALUE) return false;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(m_file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    m_state.Parse(text);
    return true;
}

bool CStateFile::Save() {
    if (m_file == INVALID_HANDLE_VALUE) return false;
    std::string text = m_state.Serialize();
    DWORD written = 0;
    return SetFilePointer(m_file, 0, nullptr, FILE_BEGIN) == 0 &&
           WriteFile(m_file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size() && SetEndOfFile(m_file);
}

void CStateFile::Close() {
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

uint32_t CStateFile::TakeFailure(const std::string& call) {
    wchar_t rules[1024];
    DWORD len = GetEnvironmentVariableW(ZT_PROVIDER_FAIL_VARIABLE, rules, 1024);
    if (len > 0 && len < 1024)
        for (const CProviderState::Failure& f : CProviderState::ParseFailureList(ToUtf8(rules)))
            if (f.call == call) return f.code;
    uint32_t code = m_state.TakeFailure(call);
    if (code != 0) Save();
    return code;
}
