// The reliability Wine tests' program: lab arguments, the class library and the sockets, then the tests.
#include <gtest/gtest.h>

#include "Framework.h"
#include "LabSupport.h"
#include "../../wizard/link/ChannelTable.h"

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
