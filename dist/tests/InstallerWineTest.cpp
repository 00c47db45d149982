// The real utility installer under Wine, started the way the wizard starts it: it installs the utility under
// Program Files with a Start-menu entry, a start-with-Windows entry and an uninstaller, and starts it; the
// wizard's offer then finds the utility's window and asks nothing. The uninstaller takes it all away again.
//   installer_wine_test SETUP.EXE   (a Unix path; the installer is copied to APPDIR\Utility\Setup.exe)
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "Framework.h"
#include "MessageBoxRecorder.h"
#include "RunProcess.h"
#include "../../wizard/shell/DesktopCommands.h"

namespace {

std::string g_setupExe;

const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pebblink";

std::string Folder(int csidl) {
    char sz[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, sz);
    return sz;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadMachineValue(const char* key, const char* name, std::string& value) {
    char sz[1024];
    DWORD cb = sizeof sz;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, sz, &cb) != ERROR_SUCCESS) return false;
    value = sz;
    return true;
}

std::string LinkTarget(const std::string& file) {
    std::string target;
    IShellLinkA* pLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&pLink))))
        return target;
    IPersistFile* pFile = nullptr;
    WCHAR wsz[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wsz, MAX_PATH);
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))) &&
        SUCCEEDED(pFile->Load(wsz, STGM_READ))) {
        char sz[MAX_PATH] = "";
        if (SUCCEEDED(pLink->GetPath(sz, MAX_PATH, nullptr, SLGP_RAWPATH))) target = sz;
    }
    if (pFile) pFile->Release();
    pLink->Release();
    return target;
}

HWND WaitForWindow(bool bPresent, int nSeconds) {
    for (int i = 0; i < nSeconds * 10; ++i) {
        HWND hWnd = FindWindowA(nullptr, UTILITY_WINDOW_TITLE);
        if ((hWnd != nullptr) == bPresent) return hWnd;
        Sleep(100);
    }
    return FindWindowA(nullptr, UTILITY_WINDOW_TITLE);
}

std::string ImageOfWindow(HWND hWnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!hProcess) return "";
    char sz[MAX_PATH] = "";
    DWORD cch = MAX_PATH;
    QueryFullProcessImageNameA(hProcess, 0, sz, &cch);
    CloseHandle(hProcess);
    return sz;
}

TEST(UtilityInstaller, InstallsStartsAndIsFoundByTheOfferThenUninstalls) {
    CoInitialize(nullptr);
    CMessageBoxRecorder boxes;
    ASSERT_EQ(FindWindowA(nullptr, UTILITY_WINDOW_TITLE), nullptr);

    // The wizard's folder, with the installer where the wizard looks for it.
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    // Wine's process ids repeat from run to run: the folder takes the first number not used before.
    std::string appDir;
    for (int i = 0; appDir.empty(); ++i) {
        std::string dir = std::string(szTemp) + "zt-installer-" + std::to_string(i);
        if (CreateDirectoryA(dir.c_str(), nullptr)) appDir = dir + "\\";
        ASSERT_TRUE(!appDir.empty() || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    ASSERT_TRUE(CreateDirectoryA((appDir + "Utility").c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(g_setupExe.c_str(), (appDir + "Utility\\Setup.exe").c_str(), FALSE)) << g_setupExe;

    std::string installDir = Folder(CSIDL_PROGRAM_FILES) + "\\Zentrive\\Drivelet Utility";
    std::string program = installDir + "\\Pebblink.exe";
    std::string startMenu = Folder(CSIDL_COMMON_PROGRAMS) + "\\Drivelet Utility";
    if (Exists(installDir + "\\Uninstall.exe"))  // left by an interrupted run
        RunProcess("\"" + installDir + "\\Uninstall.exe\" /S _?=" + installDir);
    DeleteFileA((installDir + "\\Uninstall.exe").c_str());
    ASSERT_FALSE(Exists(program));

    EXPECT_GT(RunUtilityInstaller(appDir.c_str()), 31u);
    EXPECT_EQ(boxes.GetCount(), 0);
    HWND hUtility = WaitForWindow(true, 60);
    ASSERT_NE(hUtility, nullptr) << "the installer did not start the utility";
    EXPECT_EQ(_stricmp(ImageOfWindow(hUtility).c_str(), program.c_str()), 0) << ImageOfWindow(hUtility);

    // Command 1052 now finds the utility and asks nothing.
    EXPECT_FALSE(OfferUtility(appDir.c_str()));
    EXPECT_EQ(boxes.GetCount(), 0);

    EXPECT_TRUE(Exists(program));
    EXPECT_TRUE(Exists(installDir + "\\Uninstall.exe"));
    EXPECT_EQ(_stricmp(LinkTarget(startMenu + "\\Drivelet Utility.lnk").c_str(), program.c_str()), 0);
    std::string value;
    ASSERT_TRUE(ReadMachineValue(RUN_KEY, "Pebblink", value));
    EXPECT_EQ(_stricmp(value.c_str(), ("\"" + program + "\"").c_str()), 0) << value;
    ASSERT_TRUE(ReadMachineValue(UNINSTALL_KEY, "DisplayName", value));
    EXPECT_EQ(value, "Drivelet Utility");
    ASSERT_TRUE(ReadMachineValue(UNINSTALL_KEY, "UninstallString", value));
    EXPECT_EQ(_stricmp(value.c_str(), ("\"" + installDir + "\\Uninstall.exe\"").c_str()), 0) << value;

    // Installing again over a running utility replaces it and starts it again.
    EXPECT_GT(RunUtilityInstaller(appDir.c_str()), 31u);
    for (int i = 0; i < 600 && FindWindowA(nullptr, UTILITY_WINDOW_TITLE) == hUtility; ++i) Sleep(100);
    EXPECT_NE(WaitForWindow(true, 60), nullptr);
    EXPECT_EQ(boxes.GetCount(), 0);

    // The uninstaller (run in place, silently) ends the utility and takes away what the installer added.
    ASSERT_TRUE(ReadMachineValue(UNINSTALL_KEY, "QuietUninstallString", value));
    EXPECT_EQ(RunProcess(value + " _?=" + installDir), 0);
    EXPECT_EQ(WaitForWindow(false, 10), nullptr);
    DeleteFileA((installDir + "\\Uninstall.exe").c_str());  // run in place, it cannot remove itself
    RemoveDirectoryA(installDir.c_str());
    EXPECT_FALSE(Exists(program));
    EXPECT_FALSE(Exists(startMenu + "\\Drivelet Utility.lnk"));
    EXPECT_FALSE(ReadMachineValue(RUN_KEY, "Pebblink", value));
    EXPECT_FALSE(ReadMachineValue(UNINSTALL_KEY, "DisplayName", value));
    CoUninitialize();
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: installer_wine_test SETUP.EXE\n");
        return 2;
    }
    // Wine shows the Unix root as drive Z:.
    g_setupExe = std::string("Z:") + argv[1];
    for (char& c : g_setupExe)
        if (c == '/') c = '\\';
    AfxWinInit(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWNORMAL);
    return RUN_ALL_TESTS();
}
