// The desktop commands under Wine: the user guide with the guide missing, with no program for PDF files and
// with one; the installer missing; the utility offer with and without the utility's window; the desktop
// shortcut read back through the shell's link object. Message boxes are read through the recorder.
//
// The test program is also its own PDF viewer: "--viewer MARK FILE" writes FILE's path to MARK and ends.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Framework.h"
#include "MessageBoxRecorder.h"
#include "../../DesktopCommands.h"

namespace {

const char SHELL_FOLDERS[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char PDF_VIEWER[] = "ZtTestViewer.Pdf";

std::string ExePath() {
    char sz[MAX_PATH];
    GetModuleFileNameA(nullptr, sz, MAX_PATH);
    return sz;
}

// A fresh, empty folder under the temporary folder; with a trailing backslash, as g_appDir has. Wine's
// process ids repeat from run to run, so the name takes the first number not used before.
std::string NewFolder(const char* name) {
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    for (int i = 0;; ++i) {
        std::string dir = std::string(szTemp) + "zt-desktop-" + name + "-" + std::to_string(i);
        if (CreateDirectoryA(dir.c_str(), nullptr)) return dir + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
}

void WriteFile(const std::string& path, const char* text) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fputs(text, f);
    fclose(f);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFile(const std::string& path) {
    std::string text;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        fclose(f);
    }
    return text;
}

// The classes root as the shell reads it (under Wine: the machine's classes only).
std::string ClassesDefault(const char* name, bool* pbFound = nullptr) {
    char sz[MAX_PATH] = "";
    LONG cb = sizeof sz;
    bool bFound = RegQueryValueA(HKEY_CLASSES_ROOT, name, sz, &cb) == ERROR_SUCCESS;
    if (pbFound) *pbFound = bFound;
    return bFound ? sz : "";
}

void SetClassesDefault(const char* name, const std::string& value) {
    RegSetValueA(HKEY_CLASSES_ROOT, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
}

void SetValue(const char* key, const char* name, const std::string& value, DWORD type = REG_SZ) {
    HKEY hKey;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(hKey, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(hKey);
}

// Each case starts with the prefix's own PDF program, and gets it back afterwards.
class UserGuide : public testing::Test {
protected:
    void SetUp() override { m_pdfClass = ClassesDefault(".pdf", &m_bHadPdf); }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, PDF_VIEWER);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".pdf");
        if (m_bHadPdf) SetClassesDefault(".pdf", m_pdfClass);
    }
    CMessageBoxRecorder m_boxes;
    std::string m_pdfClass;
    bool m_bHadPdf = false;
};

TEST_F(UserGuide, ManualMissingSaysTheFileWasNotFound) {
    std::string dir = NewFolder("guide-missing");
    EXPECT_EQ(OpenUserGuide(dir.c_str()), 2);
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "The specified file was not found.");
    EXPECT_EQ(m_boxes.Last().Buttons(), static_cast<UINT>(MB_OK));
    EXPECT_EQ(m_boxes.Last().Icon(), 0u);
}

TEST_F(UserGuide, NoProgramForPdfFilesSaysSo) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".pdf");
    bool bFound = true;
    ClassesDefault(".pdf", &bFound);
    ASSERT_FALSE(bFound);
    std::string dir = NewFolder("guide-noassoc");
    WriteFile(dir + "Manual.pdf", "%PDF-1.4\n");
    EXPECT_EQ(OpenUserGuide(dir.c_str()), 31);
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "There is no application associated with the given filename extension.");
    EXPECT_EQ(m_boxes.Last().Buttons(), static_cast<UINT>(MB_OK));
}

TEST_F(UserGuide, WithAPdfProgramTheGuideIsHandedToItAndNothingIsShown) {
    std::string dir = NewFolder("guide-viewer");
    std::string mark = dir + "viewer.txt";
    WriteFile(dir + "Manual.pdf", "%PDF-1.4\n");
    SetClassesDefault(".pdf", PDF_VIEWER);
    SetClassesDefault((std::string(PDF_VIEWER) + "\\shell\\open\\command").c_str(),
                      "\"" + ExePath() + "\" --viewer \"" + mark + "\" \"%1\"");
    EXPECT_GT(OpenUserGuide(dir.c_str()), 32);
    EXPECT_EQ(m_boxes.GetCount(), 0);
    for (int i = 0; i < 100 && ReadFile(mark).empty(); ++i) Sleep(100);
    std::string opened = ReadFile(mark);
    EXPECT_EQ(_stricmp(opened.c_str(), (dir + "Manual.pdf").c_str()), 0) << opened;
}

TEST(Installer, MissingSaysTheFileWasNotFoundWithItsTrailingSpace) {
    CMessageBoxRecorder boxes;
    std::string dir = NewFolder("installer-missing");
    EXPECT_EQ(RunUtilityInstaller(dir.c_str()), 2u);
    ASSERT_EQ(boxes.GetCount(), 1);
    EXPECT_STREQ(boxes.Last().text, "The specified file was not found. ");
    EXPECT_EQ(boxes.Last().Buttons(), static_cast<UINT>(MB_OK));
}

TEST(Installer, FolderMissingSaysThePathWasNotFound) {
    CMessageBoxRecorder boxes;
    std::string dir = NewFolder("installer-nofolder") + "gone\\";
    UINT nResult = RunUtilityInstaller(dir.c_str());
    ASSERT_EQ(boxes.GetCount(), 1);
    // Windows reports a missing folder as 3; Wine reports both as 2. Either has its own text.
    EXPECT_TRUE(nResult == 2u || nResult == 3u) << nResult;
    EXPECT_STREQ(boxes.Last().text,
                 nResult == 3u ? "The specified path was not found. " : "The specified file was not found. ");
}

class Offer : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(FindWindowA(nullptr, UTILITY_WINDOW_TITLE), nullptr); }
    CMessageBoxRecorder m_boxes;
    std::string m_dir = NewFolder("offer");  // no installer: a started installer would say so
};

TEST_F(Offer, UtilityNotRunningAsksAndNoChangesNothing) {
    m_boxes.QueueAnswer(IDNO);
    EXPECT_FALSE(OfferUtility(m_dir.c_str()));
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Do you want to install Drivelet utility");
    EXPECT_EQ(m_boxes.Last().Buttons(), static_cast<UINT>(MB_YESNO));
}

TEST_F(Offer, YesRunsTheInstaller) {
    m_boxes.QueueAnswer(IDYES);
    EXPECT_FALSE(OfferUtility(m_dir.c_str()));
    ASSERT_EQ(m_boxes.GetCount(), 2);
    EXPECT_STREQ(m_boxes.GetAt(0).text, "Do you want to install Drivelet utility");
    EXPECT_STREQ(m_boxes.GetAt(1).text, "The specified file was not found. ");
}

TEST_F(Offer, UtilityWindowPresentAsksNothing) {
    // Hidden, as the utility's main window is.
    HWND hUtility =
        CreateWindowExA(0, "STATIC", UTILITY_WINDOW_TITLE, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hUtility, nullptr);
    EXPECT_FALSE(OfferUtility(m_dir.c_str()));
    EXPECT_EQ(m_boxes.GetCount(), 0);
    DestroyWindow(hUtility);
}

TEST_F(Offer, AWindowWhoseTitleOnlyStartsWithTheUtilitysAsks) {
    HWND hOther = CreateWindowExA(0, "STATIC", "Pebblink Utility Help", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    m_boxes.QueueAnswer(IDNO);
    EXPECT_FALSE(OfferUtility(m_dir.c_str()));
    EXPECT_EQ(m_boxes.GetCount(), 1);
    DestroyWindow(hOther);
}

// The desktop is moved to a folder of the test's own for each case, and put back afterwards.
class Shortcut : public testing::Test {
protected:
    void SetUp() override {
        HKEY hKey;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
            char sz[MAX_PATH * 2];
            DWORD cb = sizeof sz, type = 0;
            if (RegQueryValueExA(hKey, "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(sz), &cb) == ERROR_SUCCESS) {
                m_bHadDesktop = true;
                m_oldDesktop.assign(sz, strnlen(sz, cb));
                m_oldType = type;
            }
            RegCloseKey(hKey);
        }
        m_desktop = NewFolder("desktop");
        ASSERT_FALSE(m_desktop.empty());
        m_desktop.pop_back();
        SetValue(SHELL_FOLDERS, "Desktop", m_desktop);
        char sz[MAX_PATH];
        ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, sz), S_OK);
        ASSERT_EQ(_stricmp(sz, m_desktop.c_str()), 0) << sz;
        memset(&m_settings, 0, sizeof m_settings);
        strcpy(m_settings.szServerName, "NAS1");
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoUninitialize();
        if (m_bHadDesktop)
            SetValue(SHELL_FOLDERS, "Desktop", m_oldDesktop, m_oldType);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, SHELL_FOLDERS, "Desktop");
    }

    struct LinkFields {
        std::string path, description, icon;
        int nIcon = -1;
    };
    static LinkFields ReadLink(const std::string& file) {
        LinkFields f;
        IShellLinkA* pLink = nullptr;
        IPersistFile* pFile = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&pLink))))
            return f;
        WCHAR wsz[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wsz, MAX_PATH);
        if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))) &&
            SUCCEEDED(pFile->Load(wsz, STGM_READ))) {
            char sz[MAX_PATH] = "";
            if (SUCCEEDED(pLink->GetPath(sz, MAX_PATH, nullptr, SLGP_RAWPATH))) f.path = sz;
            sz[0] = 0;
            if (SUCCEEDED(pLink->GetDescription(sz, MAX_PATH))) f.description = sz;
            sz[0] = 0;
            if (SUCCEEDED(pLink->GetIconLocation(sz, MAX_PATH, &f.nIcon))) f.icon = sz;
        }
        if (pFile) pFile->Release();
        pLink->Release();
        return f;
    }

    CMessageBoxRecorder m_boxes;
    DeviceSettings m_settings;
    std::string m_desktop;
    std::string m_oldDesktop;
    DWORD m_oldType = REG_EXPAND_SZ;
    bool m_bHadDesktop = false;
};

TEST_F(Shortcut, Nas1IsALinkOnTheDesktopToItsShareWithDescriptionAndIcon) {
    EXPECT_TRUE(CreateDesktopShortcut(m_settings, "C:\\Zentrive"));
    EXPECT_EQ(m_boxes.GetCount(), 0) << (m_boxes.GetCount() ? m_boxes.Last().text.GetString() : "");
    std::string file = m_desktop + "\\NAS1.lnk";
    ASSERT_TRUE(FileExists(file));
    LinkFields f = ReadLink(file);
    EXPECT_EQ(f.path, "\\\\NAS1");
    EXPECT_EQ(f.description, "Shortcut to NAS1");
    EXPECT_EQ(f.icon, "C:\\Zentrive\\Zentrive.ico");
    EXPECT_EQ(f.nIcon, 0);
}

TEST_F(Shortcut, AnExistingShortcutOfThatNameIsOverwritten) {
    std::string file = m_desktop + "\\NAS1.lnk";
    strcpy(m_settings.szServerName, "NAS1");
    WriteFile(file, "not a shortcut, and longer than nothing at all so that a short write would show");
    EXPECT_TRUE(CreateDesktopShortcut(m_settings, "D:\\Zentrive"));
    EXPECT_EQ(m_boxes.GetCount(), 0);
    LinkFields f = ReadLink(file);
    EXPECT_EQ(f.path, "\\\\NAS1");
    EXPECT_EQ(f.description, "Shortcut to NAS1");
    EXPECT_EQ(f.icon, "D:\\Zentrive\\Zentrive.ico");
}

TEST_F(Shortcut, AFifteenCharacterNameWithoutTerminatorStopsAtItsField) {
    memcpy(m_settings.szServerName, "ABCDEFGHIJKLMNO", sizeof m_settings.szServerName);
    memset(m_settings.szNote, 'Z', sizeof m_settings.szNote);
    EXPECT_TRUE(CreateDesktopShortcut(m_settings, "C:\\Zentrive"));
    LinkFields f = ReadLink(m_desktop + "\\ABCDEFGHIJKLMNO.lnk");
    EXPECT_EQ(f.path, "\\\\ABCDEFGHIJKLMNO");
    EXPECT_EQ(f.description, "Shortcut to ABCDEFGHIJKLMNO");
}

TEST_F(Shortcut, ANameThatLeavesTheDesktopWritesNothingAndSaysSaveFailed) {
    strcpy(m_settings.szServerName, "..\\Escaped");
    EXPECT_FALSE(CreateDesktopShortcut(m_settings, "C:\\Zentrive"));
    ASSERT_EQ(m_boxes.GetCount(), 1);
    EXPECT_STREQ(m_boxes.Last().text, "Save failed!");
    std::string parent = m_desktop.substr(0, m_desktop.rfind('\\'));
    EXPECT_FALSE(FileExists(parent + "\\Escaped.lnk"));
    memset(m_settings.szServerName, 0, sizeof m_settings.szServerName);
    EXPECT_FALSE(CreateDesktopShortcut(m_settings, "C:\\Zentrive"));
    EXPECT_FALSE(FileExists(m_desktop + "\\.lnk"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "--viewer") == 0) {
        FILE* f = fopen(argv[2], "wb");
        if (!f) return 1;
        fputs(argv[3], f);
        fclose(f);
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    AfxWinInit(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWNORMAL);
    return RUN_ALL_TESTS();
}
