// ztnpreg: puts the test network provider into a Wine prefix for a test and takes it out again.
//   ztnpreg install [--name NAME] [STATEFILE]
//                                      register ztnetprovider.dll (next to this program), under NAME if given
//   ztnpreg remove                     undo install, with every drive letter and remembered entry it made
//   ztnpreg run [--name NAME] PROGRAM [ARGS...]
//                                      install, run PROGRAM (a Windows or a Unix path), remove; PROGRAM's exit code
//   ztnpreg workgroups [NAME...]       the workgroups the provider lists as its children (none: an empty list)
//   ztnpreg fail CALL CODE [TIMES]     make CALL (NPAddConnection3, NPCancelConnection, ...) fail with CODE,
//                                      TIMES times (default every time; 0 stops it)
//   ztnpreg remember X: \\SRV\share    a remembered connection without a live one (HKCU\Network\X)
#include "ProviderRegistration.h"
#include "StateFile.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: ztnpreg install [--name NAME] [STATEFILE] | remove | run [--name NAME] PROGRAM [ARGS...] | "
                 "workgroups [NAME...] | fail CALL CODE [TIMES] | remember X: \\\\SRV\\share\n");
    return 2;
}

std::wstring DefaultStateFile() {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\temp\\ztnetprovider.txt";
}

bool Install(const std::wstring& stateFile, const std::wstring& name) {
    std::string error;
    if (!InstallProvider(ProgramFolder() + L"ztnetprovider.dll", stateFile, name, error)) {
        std::fprintf(stderr, "ztnpreg: %s\n", error.c_str());
        return false;
    }
    return true;
}

// A Unix path (as CTest passes it) becomes the prefix's DOS path.
std::wstring ProgramPath(const wchar_t* program) {
    if (program[0] != L'/') return program;
    using DosName = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<DosName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    std::string unix = ToUtf8(program);
    WCHAR* dos = toDos ? toDos(unix.c_str()) : nullptr;
    if (dos == nullptr) return program;
    std::wstring out = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return out;
}

std::wstring Quote(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            backslashes++;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

int Run(int argc, wchar_t** argv, int first, const std::wstring& name) {
    std::wstring program = ProgramPath(argv[first]);
    std::wstring commandLine = Quote(program);
    for (int i = first + 1; i < argc; i++) commandLine += L" " + Quote(argv[i]);
    RemoveProvider();  // anything an interrupted run left behind
    if (!Install(DefaultStateFile(), name)) return 3;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = 3;
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        std::fprintf(stderr, "ztnpreg: cannot start %ls: error %lu\n", program.c_str(), GetLastError());
    }
    RemoveProvider();
    return static_cast<int>(exitCode);
}

int Fail(const wchar_t* call, const wchar_t* code, const wchar_t* times) {
    CStateFile file;
    if (!file.Open()) return 1;
    file.State().SetFailure(ToUtf8(call), static_cast<uint32_t>(wcstoul(code, nullptr, 10)),
                            times ? static_cast<int>(wcstol(times, nullptr, 10)) : -1);
    return file.Save() ? 0 : 1;
}

int Workgroups(int argc, wchar_t** argv, int first) {
    std::vector<std::string> names;
    for (int i = first; i < argc; i++) names.push_back(ToUtf8(argv[i]));
    CStateFile file;
    if (!file.Open()) return 1;
    file.State().SetWorkgroups(names);
    return file.Save() ? 0 : 1;
}

int Remember(const wchar_t* local, const wchar_t* remote) {
    std::string drive = CProviderState::NormalizeDrive(ToUtf8(local));
    if (drive.empty()) return Usage();
    HKEY key;
    std::wstring name = std::wstring(L"Network\\") + static_cast<wchar_t>(drive[0]);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 1;
    std::wstring provider = ZT_PROVIDER_NAME;
    DWORD disk = 1;
    RegSetValueExW(key, L"RemotePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(remote),
                   static_cast<DWORD>((wcslen(remote) + 1) * sizeof(wchar_t)));
    RegSetValueExW(key, L"ProviderName", 0, REG_SZ, reinterpret_cast<const BYTE*>(provider.c_str()),
                   static_cast<DWORD>((provider.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key, L"ConnectionType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&disk), sizeof disk);
    RegCloseKey(key);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    std::wstring command = argv[1];
    // --name NAME right after install or run.
    int next = 2;
    std::wstring name;
    if ((command == L"install" || command == L"run") && argc > 3 && std::wstring(argv[2]) == L"--name") {
        name = argv[3];
        next = 4;
    }
    if (command == L"install") return Install(argc > next ? argv[next] : DefaultStateFile(), name) ? 0 : 1;
    if (command == L"remove") {
        RemoveProvider();
        return 0;
    }
    if (command == L"run" && argc > next) {
        int first = (std::wstring(argv[next]) == L"--") ? next + 1 : next;
        return first < argc ? Run(argc, argv, first, name) : Usage();
    }
    if (command == L"workgroups") return Workgroups(argc, argv, 2);
    if (command == L"fail" && argc > 3) return Fail(argv[2], argv[3], argc > 4 ? argv[4] : nullptr);
    if (command == L"remember" && argc > 3) return Remember(argv[2], argv[3]);
    return Usage();
}
