// The program of a lab Wine test: gtest's options, the lab's --sim options, the class library, the sockets
// and the PC's local addresses, then the tests.
#include <gtest/gtest.h>

#include "Framework.h"
#include "LabSupport.h"
#include "../../link/ChannelTable.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ParseLabArguments(argc, argv);
    AfxWinInit(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWNORMAL);
    if (!NetStartup()) return 2;
    NetGetLocalAddresses(localAddresses, &localAddressCount);
    const int nResult = RUN_ALL_TESTS();
    NetCleanup();
    return nResult;
}
