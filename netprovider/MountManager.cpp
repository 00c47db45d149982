// Wine's mount manager extension IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE, as Wine 8 lays out its request.
#include "MountManager.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

constexpr DWORD MOUNTMGR_CONTROL_TYPE = 'm';
constexpr DWORD IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE =
    CTL_CODE(MOUNTMGR_CONTROL_TYPE, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct MountmgrUnixDrive {
    ULONG size;
    ULONG type;  // a DRIVE_* value; DRIVE_NO_ROOT_DIR removes the letter
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

bool Define(wchar_t letter, UINT type, const char* unixFolder) {
    size_t folderLen = unixFolder ? std::strlen(unixFolder) + 1 : 0;
    std::vector<char> request(sizeof(MountmgrUnixDrive) + folderLen, 0);
    auto* drive = reinterpret_cast<MountmgrUnixDrive*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = type;
    drive->letter = static_cast<WCHAR>(letter | 0x20);  // the manager keys letters in lower case
    if (folderLen > 0) {
        drive->mountPointOffset = sizeof(MountmgrUnixDrive);
        std::memcpy(request.data() + sizeof(MountmgrUnixDrive), unixFolder, folderLen);
    }
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(manager, IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE, request.data(),
                              static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

// Wine's own conversions between Unix and DOS paths; absent outside Wine.
template <typename Result, typename Arg>
Result WineCall(const char* name, Arg arg) {
    using Function = Result(CDECL*)(Arg);
    auto f =
        reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
    return f ? f(arg) : nullptr;
}

// The dosdevices folder of the prefix as a DOS path ("Z:\...\dosdevices"), found from drive C:.
std::wstring DosDevicesFolder() {
    char* unixC = WineCall<char*, const WCHAR*>("wine_get_unix_file_name", L"C:\\");
    if (unixC == nullptr) return L"";
    std::string path = unixC;
    HeapFree(GetProcessHeap(), 0, unixC);
    while (!path.empty() && path.back() == '/') path.pop_back();
    path = path.substr(0, path.find_last_of('/'));
    WCHAR* dos = WineCall<WCHAR*, const char*>("wine_get_dos_file_name", path.c_str());
    if (dos == nullptr) return L"";
    std::wstring out = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return out;
}

}  // namespace

bool DefineRemoteDrive(wchar_t letter, const std::wstring& remoteName) {
    // \\SERVER\SHARE\SUB -> unc/SERVER/SHARE/SUB
    std::wstring relative = L"unc" + remoteName.substr(1);
    std::wstring folder = DosDevicesFolder();
    for (size_t i = 0; !folder.empty() && i <= relative.size(); i++)
        if (i == relative.size() || relative[i] == L'\\')
            CreateDirectoryW((folder + L"\\" + relative.substr(0, i)).c_str(), nullptr);
    int len = WideCharToMultiByte(CP_UTF8, 0, relative.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(len > 0 ? len : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, relative.c_str(), -1, utf8.data(), len, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    for (char& c : utf8)
        if (c == '\\') c = '/';
    return Define(letter, DRIVE_REMOTE, utf8.c_str());
}

bool RemoveDriveDefinition(wchar_t letter) {
    return Define(letter, DRIVE_NO_ROOT_DIR, nullptr);
}
