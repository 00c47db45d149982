// linkinfo: the guide scenario's look at the desktop, from inside Wine.
//   linkinfo desktop      prints the desktop folder as the shell names it
//   linkinfo read FILE    prints the shortcut's target, description, icon file and icon index, one a line,
//                         read back through IShellLinkA; exit status 1 when FILE is not a shortcut
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>

namespace {

int PrintDesktop() {
    char sz[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, sz))) return 1;
    std::printf("%s\n", sz);
    return 0;
}

int PrintLink(const char* file) {
    IShellLinkA* pLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&pLink))))
        return 1;
    IPersistFile* pFile = nullptr;
    WCHAR wsz[MAX_PATH];
    int nResult = 1;
    if (MultiByteToWideChar(CP_ACP, 0, file, -1, wsz, MAX_PATH) &&
        SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))) &&
        SUCCEEDED(pFile->Load(wsz, STGM_READ))) {
        char szPath[MAX_PATH] = "", szDescription[MAX_PATH] = "", szIcon[MAX_PATH] = "";
        int nIcon = -1;
        if (SUCCEEDED(pLink->GetPath(szPath, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
            SUCCEEDED(pLink->GetDescription(szDescription, MAX_PATH)) &&
            SUCCEEDED(pLink->GetIconLocation(szIcon, MAX_PATH, &nIcon))) {
            std::printf("%s\n%s\n%s\n%d\n", szPath, szDescription, szIcon, nIcon);
            nResult = 0;
        }
    }
    if (pFile) pFile->Release();
    pLink->Release();
    return nResult;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "desktop") == 0) return PrintDesktop();
    if (argc == 3 && std::strcmp(argv[1], "read") == 0) {
        CoInitialize(nullptr);
        const int nResult = PrintLink(argv[2]);
        CoUninitialize();
        return nResult;
    }
    std::fprintf(stderr, "usage: linkinfo desktop | read FILE\n");
    return 2;
}
