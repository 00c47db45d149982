// The test network provider under Wine, reached the way the tray utility reaches the network: through
// mpr.dll's WNetAddConnectionA, WNetCancelConnection2A, WNetOpenEnumA/WNetEnumResourceA and GetDriveTypeA.
// Provider* cases run in a process started by "ztnpreg run" (mpr reads the registration when it loads);
// Registration* cases run without it and check that the wrapper leaves the prefix as it found it.
#include "../ProviderRegistration.h"
#include "../StateFile.h"
#include "RunProcess.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <winnetwk.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using Pair = std::pair<std::string, std::string>;

std::string ProgramPathA() {
    char path[MAX_PATH];
    DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, len);
}

int RunSelf(const std::string& args) {
    return RunProcess("\"" + ProgramPathA() + "\" " + args);
}

std::vector<Pair> Enumerate(DWORD scope, DWORD* error = nullptr) {
    std::vector<Pair> out;
    HANDLE handle = nullptr;
    DWORD rc = WNetOpenEnumA(scope, RESOURCETYPE_DISK, 0, nullptr, &handle);
    if (error) *error = rc;
    if (rc != NO_ERROR) return out;
    alignas(NETRESOURCEA) char buffer[16384];
    for (;;) {
        DWORD count = 0xFFFFFFFF, size = sizeof buffer;
        rc = WNetEnumResourceA(handle, &count, buffer, &size);
        if (rc != NO_ERROR) break;
        auto* entries = reinterpret_cast<NETRESOURCEA*>(buffer);
        for (DWORD i = 0; i < count; i++)
            out.push_back({entries[i].lpLocalName ? entries[i].lpLocalName : "",
                           entries[i].lpRemoteName ? entries[i].lpRemoteName : ""});
    }
    WNetCloseEnum(handle);
    std::sort(out.begin(), out.end());
    return out;
}

std::string Remembered(char letter, const char* value = "RemotePath") {
    char data[512] = {};
    DWORD size = sizeof data;
    std::string key = std::string("Network\\") + letter;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "<none>";
    return data;
}

std::string ProviderOrder() {
    char data[512] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\NetworkProvider\\Order", "ProviderOrder",
                     RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "<none>";
    return data;
}

UINT DriveType(char letter) {
    char root[] = {letter, ':', '\\', 0};
    return GetDriveTypeA(root);
}

void SetFailure(const char* call, uint32_t code, int times) {
    CStateFile file;
    ASSERT_TRUE(file.Open());
    file.State().SetFailure(call, code, times);
    ASSERT_TRUE(file.Save());
}

class Provider : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ProviderOrder().rfind("ZtNetProvider", 0), 0u) << "run through ztnpreg run"; }
    void TearDown() override {
        for (char letter : {'M', 'N', 'P'})
            WNetCancelConnection2A(std::string(1, letter).append(":").c_str(), CONNECT_UPDATE_PROFILE, TRUE);
        CStateFile file;
        if (file.Open()) {
            file.State().ClearFailures();
            file.Save();
        }
    }
};

}  // namespace

TEST_F(Provider, AddConnectionMapsARemoteDriveThatEveryProcessSees) {
    ASSERT_EQ(DriveType('P'), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    ASSERT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), static_cast<DWORD>(NO_ERROR));

    EXPECT_EQ(DriveType('P'), static_cast<UINT>(DRIVE_REMOTE));
    char remote[256] = {};
    DWORD len = sizeof remote;
    EXPECT_EQ(WNetGetConnectionA("P:", remote, &len), static_cast<DWORD>(NO_ERROR));
    EXPECT_STREQ(remote, "\\\\NAS1\\usb");
    SHFILEINFOA info{};
    EXPECT_NE(SHGetFileInfoA("P:\\", 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
              0u);
    // Remembered as Windows remembers a WNetAddConnection.
    EXPECT_EQ(Remembered('P'), "\\\\NAS1\\usb");
    EXPECT_EQ(Remembered('P', "ProviderName"), ZT_PROVIDER_NAME_A);
    EXPECT_EQ(RunSelf("--expect-connected P: \\\\NAS1\\usb"), 0);

    EXPECT_EQ(WNetCancelConnection2A("P:", CONNECT_UPDATE_PROFILE, FALSE), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(DriveType('P'), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(Remembered('P'), "<none>");
    EXPECT_EQ(RunSelf("--expect-connected P: \\\\NAS1\\usb"), 1);
    EXPECT_EQ(WNetCancelConnection2A("P:", CONNECT_UPDATE_PROFILE, FALSE), static_cast<DWORD>(ERROR_NOT_CONNECTED));
}

TEST_F(Provider, EnumerationListsConnectedAndRememberedDrives) {
    ASSERT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "N:"), static_cast<DWORD>(NO_ERROR));
    ASSERT_EQ(RunSelf("--add M: \\\\NAS2\\data"), 0);  // made by another process

    EXPECT_EQ(Enumerate(RESOURCE_CONNECTED), (std::vector<Pair>{{"M:", "\\\\NAS2\\data"}, {"N:", "\\\\NAS1\\usb"}}));
    std::vector<Pair> remembered = Enumerate(RESOURCE_REMEMBERED);
    EXPECT_NE(std::find(remembered.begin(), remembered.end(), Pair{"M:", "\\\\NAS2\\data"}), remembered.end());
    EXPECT_NE(std::find(remembered.begin(), remembered.end(), Pair{"N:", "\\\\NAS1\\usb"}), remembered.end());

    EXPECT_EQ(WNetCancelConnection2A("N:", CONNECT_UPDATE_PROFILE, FALSE), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Enumerate(RESOURCE_CONNECTED), (std::vector<Pair>{{"M:", "\\\\NAS2\\data"}}));

    // A remembered connection without a live one: listed as remembered only, its letter unused.
    std::string program = ProgramPathA();
    std::string tool = program.substr(0, program.find_last_of('\\') + 1) + "ztnpreg.exe";
    ASSERT_EQ(RunProcess("\"" + tool + "\" remember r: \\\\NAS3\\old"), 0);
    remembered = Enumerate(RESOURCE_REMEMBERED);
    EXPECT_NE(std::find(remembered.begin(), remembered.end(), Pair{"R:", "\\\\NAS3\\old"}), remembered.end());
    EXPECT_EQ(DriveType('R'), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(Enumerate(RESOURCE_CONNECTED), (std::vector<Pair>{{"M:", "\\\\NAS2\\data"}}));
    RegDeleteKeyA(HKEY_CURRENT_USER, "Network\\R");
}

TEST_F(Provider, UsedLettersAndBadNamesAreRefused) {
    EXPECT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "C:"), static_cast<DWORD>(ERROR_ALREADY_ASSIGNED));
    ASSERT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(WNetAddConnectionA("\\\\NAS2\\usb", nullptr, "P:"), static_cast<DWORD>(ERROR_ALREADY_ASSIGNED));
    EXPECT_EQ(WNetAddConnectionA("\\\\NAS1", nullptr, "N:"), static_cast<DWORD>(ERROR_BAD_NET_NAME));
    EXPECT_EQ(DriveType('N'), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(Enumerate(RESOURCE_CONNECTED), (std::vector<Pair>{{"P:", "\\\\NAS1\\usb"}}));
}

TEST_F(Provider, ChosenErrorsComeBackUnchanged) {
    for (DWORD code : {1207ul, 53ul, 1222ul, 86ul}) {
        SetFailure("NPAddConnection3", code, 1);
        EXPECT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), code);
        EXPECT_EQ(DriveType('P'), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << code;
    }
    // A counted failure is used up.
    ASSERT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), static_cast<DWORD>(NO_ERROR));

    for (DWORD code : {2401ul, 2404ul}) {
        SetFailure("NPCancelConnection", code, 1);
        EXPECT_EQ(WNetCancelConnection2A("P:", CONNECT_UPDATE_PROFILE, FALSE), code);
        EXPECT_EQ(DriveType('P'), static_cast<UINT>(DRIVE_REMOTE)) << "the connection stays";
    }
    EXPECT_EQ(WNetCancelConnection2A("P:", CONNECT_UPDATE_PROFILE, FALSE), static_cast<DWORD>(NO_ERROR));

    // A rule for every time holds until it is lifted.
    SetFailure("NPAddConnection3", 1203, -1);
    EXPECT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), 1203ul);
    EXPECT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), 1203ul);
    SetFailure("NPAddConnection3", 0, 0);
    EXPECT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), static_cast<DWORD>(NO_ERROR));
}

TEST_F(Provider, EnumeratedEntriesAndFailedEnumerations) {
    ASSERT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), static_cast<DWORD>(NO_ERROR));
    // Wine's router does not pass an enumeration's failure on: the connections just go unlisted.
    SetFailure("NPOpenEnum", 1222, 1);
    EXPECT_TRUE(Enumerate(RESOURCE_CONNECTED).empty());
    SetFailure("NPEnumResource", 1222, 1);
    EXPECT_TRUE(Enumerate(RESOURCE_CONNECTED).empty());

    HANDLE handle = nullptr;
    ASSERT_EQ(WNetOpenEnumA(RESOURCE_CONNECTED, RESOURCETYPE_DISK, 0, nullptr, &handle), static_cast<DWORD>(NO_ERROR));
    alignas(NETRESOURCEA) char big[4096];
    DWORD count = 0xFFFFFFFF, size = sizeof big;
    ASSERT_EQ(WNetEnumResourceA(handle, &count, big, &size), static_cast<DWORD>(NO_ERROR));
    ASSERT_EQ(count, 1ul);
    auto* entry = reinterpret_cast<NETRESOURCEA*>(big);
    EXPECT_STREQ(entry->lpLocalName, "P:");
    EXPECT_STREQ(entry->lpRemoteName, "\\\\NAS1\\usb");
    EXPECT_STREQ(entry->lpProvider, ZT_PROVIDER_NAME_A);
    EXPECT_EQ(entry->dwType, static_cast<DWORD>(RESOURCETYPE_DISK));
    count = 0xFFFFFFFF;
    size = sizeof big;
    EXPECT_EQ(WNetEnumResourceA(handle, &count, big, &size), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    WNetCloseEnum(handle);
}

TEST_F(Provider, ItsChildrenInTheWholeNetworkAreTheWorkgroupsOfTheStateFile) {
    {
        CStateFile file;
        ASSERT_TRUE(file.Open());
        file.State().SetWorkgroups({"ZULU", "LAB", "MY GROUP"});
        ASSERT_TRUE(file.Save());
    }
    // The provider's own entry as the top of a global enumeration lists it (mpr makes that entry itself).
    char provider[] = ZT_PROVIDER_NAME_A;
    NETRESOURCEA parent{};
    parent.dwScope = RESOURCE_GLOBALNET;
    parent.dwUsage = RESOURCEUSAGE_CONTAINER;
    parent.lpRemoteName = provider;
    parent.lpProvider = provider;
    HANDLE handle = nullptr;
    ASSERT_EQ(WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &parent, &handle), static_cast<DWORD>(NO_ERROR));
    alignas(NETRESOURCEA) char buffer[4096];
    std::vector<std::string> names;
    // Room for one entry at a time: three calls, then the end.
    for (int call = 0; call < 3; ++call) {
        DWORD count = 0xFFFFFFFF, size = 200;
        ASSERT_EQ(WNetEnumResourceA(handle, &count, buffer, &size), static_cast<DWORD>(NO_ERROR)) << call;
        ASSERT_EQ(count, 1ul) << call;
        auto* entry = reinterpret_cast<NETRESOURCEA*>(buffer);
        names.push_back(entry->lpRemoteName);
        EXPECT_STREQ(entry->lpProvider, ZT_PROVIDER_NAME_A);
        EXPECT_EQ(entry->lpLocalName, nullptr);
        EXPECT_EQ(entry->dwDisplayType, static_cast<DWORD>(RESOURCEDISPLAYTYPE_DOMAIN));
        EXPECT_EQ(entry->dwUsage, static_cast<DWORD>(RESOURCEUSAGE_CONTAINER));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ZULU", "LAB", "MY GROUP"}));
    DWORD count = 0xFFFFFFFF, size = sizeof buffer;
    EXPECT_EQ(WNetEnumResourceA(handle, &count, buffer, &size), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    WNetCloseEnum(handle);

    // Below a workgroup there is nothing; connected drives are no children of the network.
    ASSERT_EQ(WNetAddConnectionA("\\\\NAS1\\usb", nullptr, "P:"), static_cast<DWORD>(NO_ERROR));
    char lab[] = "LAB";
    parent.lpRemoteName = lab;
    ASSERT_EQ(WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &parent, &handle), static_cast<DWORD>(NO_ERROR));
    count = 0xFFFFFFFF;
    size = sizeof buffer;
    EXPECT_EQ(WNetEnumResourceA(handle, &count, buffer, &size), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    WNetCloseEnum(handle);
    CStateFile file;
    ASSERT_TRUE(file.Open());
    file.State().SetWorkgroups({});
    ASSERT_TRUE(file.Save());
}

TEST_F(Provider, AnEnvironmentRuleFailsEveryCallOfItsProcess) {
    // The child inherits the variable.
    SetEnvironmentVariableA("ZT_NETPROVIDER_FAIL", "NPAddConnection3:1219");
    EXPECT_EQ(RunSelf("--add P: \\\\NAS1\\usb"), 1219);
    SetEnvironmentVariableA("ZT_NETPROVIDER_FAIL", nullptr);
    EXPECT_EQ(DriveType('P'), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(RunSelf("--add P: \\\\NAS1\\usb"), 0);
    EXPECT_EQ(DriveType('P'), static_cast<UINT>(DRIVE_REMOTE));
}

TEST(Registration, TheWrapperLeavesThePrefixAsItFoundIt) {
    std::string orderBefore = ProviderOrder();
    ASSERT_EQ(orderBefore.find("ZtNetProvider"), std::string::npos);
    std::string folder = ProgramPathA().substr(0, ProgramPathA().find_last_of('\\') + 1);

    // The child maps Q: and leaves it mapped; the wrapper's clean-up must take it away.
    EXPECT_EQ(RunProcess("\"" + folder + "ztnpreg.exe\" run \"" + ProgramPathA() + "\" --add Q: \\\\NAS9\\x"), 0);

    EXPECT_EQ(ProviderOrder(), orderBefore);
    EXPECT_EQ(DriveType('Q'), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(Remembered('Q'), "<none>");
    EXPECT_EQ(GetFileAttributesW(CStateFile::Path().c_str()), INVALID_FILE_ATTRIBUTES);
    HKEY key;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, ZT_PROVIDER_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
    // This process loaded mpr without the provider: there is no network to connect to.
    EXPECT_NE(WNetAddConnectionA("\\\\NAS9\\x", nullptr, "Q:"), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(DriveType('Q'), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

int main(int argc, char** argv) {
    // Helper modes for the cases that need a second process.
    if (argc == 4 && std::string(argv[1]) == "--add")
        return static_cast<int>(WNetAddConnectionA(argv[3], nullptr, argv[2]));
    if (argc == 4 && std::string(argv[1]) == "--expect-connected") {
        std::vector<Pair> connected = Enumerate(RESOURCE_CONNECTED);
        bool found = std::find(connected.begin(), connected.end(), Pair{argv[2], argv[3]}) != connected.end();
        return found && DriveType(argv[2][0]) == DRIVE_REMOTE ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
