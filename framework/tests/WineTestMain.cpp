// Main of the library's Wine test program: the application object the tests route commands to, and the
// start-up the library's WinMain would do.
#include <gtest/gtest.h>

#include "WineTestSupport.h"

// clang-format off
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()
// clang-format on

CTestApp theApp;

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    return RUN_ALL_TESTS();
}
