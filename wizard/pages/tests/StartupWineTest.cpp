// Start-up under Wine: the single-instance check by title, the folder strings, the sockets, and the whole
// start-up running the wizard with its six pages in order.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../../link/ChannelTable.h"
#include "../../res/resource.h"
#include "../../shell/WizardDlg.h"
#include "../../widgets/SubclassWnd.h"
#include "../WizardApp.h"
#include "Framework.h"
#include "MessagePump.h"
#include "Screenshot.h"

namespace {

// The program's own application object stands for the test's.
CWizardApp theApp;

// Records the size changes of a window.
class CSizeTrail : public CSubclassWnd {
public:
    std::vector<WPARAM> m_sizes;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SIZE) m_sizes.push_back(wParam);
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
};

HWND MakeTopLevel(LPCSTR pszClass, LPCSTR pszTitle) {
    HWND hWnd = ::CreateWindowExA(0, pszClass, pszTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::UpdateWindow(hWnd);
    PumpMessages();
    return hWnd;
}

bool SocketsStarted() {
    SOCKET s = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) return false;
    ::closesocket(s);
    return true;
}

}  // namespace

TEST(SingleInstance, NoOtherWizardWindowLetsStartUpGoOn) {
    ASSERT_EQ(::FindWindowA(nullptr, "Setup Wizard"), nullptr);
    EXPECT_TRUE(CWizardApp::FirstInstance());
}

TEST(SingleInstance, AVisibleWizardWindowIsMinimisedThenRestored) {
    HWND hWnd = MakeTopLevel("STATIC", "Setup Wizard");
    CSizeTrail trail;
    ASSERT_TRUE(trail.HookWindow(hWnd));
    EXPECT_FALSE(CWizardApp::FirstInstance());
    PumpMessages();
    ASSERT_GE(trail.m_sizes.size(), 2u);
    EXPECT_EQ(trail.m_sizes.front(), static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_EQ(trail.m_sizes.back(), static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_FALSE(::IsIconic(hWnd));
    EXPECT_TRUE(::IsWindowVisible(hWnd));

    // Already minimised: only restored.
    ::ShowWindow(hWnd, SW_MINIMIZE);
    PumpMessages();
    trail.m_sizes.clear();
    EXPECT_FALSE(CWizardApp::FirstInstance());
    PumpMessages();
    ASSERT_EQ(trail.m_sizes.size(), 1u);
    EXPECT_EQ(trail.m_sizes[0], static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_FALSE(::IsIconic(hWnd));
    ::DestroyWindow(hWnd);
}

TEST(SingleInstance, OnlyTheExactTitleCounts) {
    HWND hOther = MakeTopLevel("BUTTON", "Setup Wizard 2");
    EXPECT_TRUE(CWizardApp::FirstInstance());
    ::DestroyWindow(hOther);
    // Any class with the exact title stops start-up.
    HWND hButton = MakeTopLevel("BUTTON", "Setup Wizard");
    EXPECT_FALSE(CWizardApp::FirstInstance());
    ::DestroyWindow(hButton);
}

TEST(SingleInstance, ASecondCopyEndsWithoutStartingTheSockets) {
    HWND hWnd = MakeTopLevel("STATIC", "Setup Wizard");
    ASSERT_FALSE(SocketsStarted());
    g_appDir[0] = '\0';
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_FALSE(SocketsStarted());
    EXPECT_STREQ(g_appDir, "") << "nothing after the check ran";
    ::DestroyWindow(hWnd);
}

TEST(Folders, AppDirFromADriveRootKeepsItsOneBackslash) {
    char szSaved[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof szSaved, szSaved);
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\"));
    CWizardApp::RecordFolders();
    EXPECT_STREQ(g_appDir, "C:\\");
    ::SetCurrentDirectoryA(szSaved);
}

TEST(Folders, AppDirIsTheCurrentDirectoryNotTheProgramsFolder) {
    char szSaved[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof szSaved, szSaved);
    ::CreateDirectoryA("C:\\zt elsewhere", nullptr);
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\zt elsewhere"));
    CWizardApp::RecordFolders();
    EXPECT_STREQ(g_appDir, "C:\\zt elsewhere\\");
    char szExe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, szExe, sizeof szExe);
    EXPECT_NE(std::string(szExe).rfind(g_appDir, 0), 0u) << "not the executable's folder";
    ::SetCurrentDirectoryA(szSaved);
    ::RemoveDirectoryA("C:\\zt elsewhere");
}

TEST(Folders, IconDirIsTheWindowsDriveAndZentrive) {
    char szWindows[MAX_PATH];
    ::GetWindowsDirectoryA(szWindows, sizeof szWindows);
    CWizardApp::RecordFolders();
    EXPECT_EQ(std::string(g_iconDir), std::string(szWindows, 3) + "Zentrive");
    EXPECT_EQ(std::string(g_iconDir, 3).substr(1), ":\\");
}

TEST(StartUp, RunsTheWizardWithTheSixPagesInOrderThenCleansUp) {
    std::vector<UINT> ids;
    CWnd* pMain = nullptr;
    int nLocal = -1;
    bool bSockets = false;
    std::string appDir;
    {
        CModalHook hook([&](CDialog* pDlg) {
            CWizardDlg* pWizard = dynamic_cast<CWizardDlg*>(pDlg);
            if (!pWizard) {
                // The device list page's first search, which Setup starts: not what this test looks at.
                pDlg->EndDialog(IDCANCEL);
                return;
            }
            for (int i = 0; i < pWizard->GetPageCount(); ++i) ids.push_back(pWizard->GetPage(i)->m_nPageId);
            pMain = AfxGetMainWnd();
            nLocal = localAddressCount;
            bSockets = SocketsStarted();
            appDir = g_appDir;
            EXPECT_EQ(::FindWindowA(nullptr, "Setup Wizard"), pDlg->m_hWnd);
            SaveArtifactScreenshot(pDlg->m_hWnd, "startup_welcome");
            pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SETUP, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(*pDlg, IDC_SETUP)));
            SaveArtifactScreenshot(pDlg->m_hWnd, "startup_device_list");
            pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(*pDlg, IDC_EXIT)));
        });
        EXPECT_FALSE(theApp.InitInstance());
    }
    EXPECT_EQ(ids, (std::vector<UINT>{134, 132, 130, 133, 136, 182}));
    EXPECT_TRUE(pMain);
    EXPECT_EQ(AfxGetMainWnd(), nullptr) << "the wizard window is gone";
    EXPECT_GE(nLocal, 1) << "the lab's PC has an address";
    EXPECT_EQ(localAddresses[0], ::htonl(0xC6120101u)) << "198.18.1.1";
    EXPECT_TRUE(bSockets);
    EXPECT_FALSE(appDir.empty());
    EXPECT_EQ(::FindWindowA(nullptr, "Setup Wizard"), nullptr);
    // The closing main window asked the (absent) application loop to quit; nothing else may see that.
    MSG msg;
    ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);

    theApp.ExitInstance();
    EXPECT_FALSE(SocketsStarted()) << "exit cleans up the sockets";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    return RUN_ALL_TESTS();
}
