// The folder strings of start-up: trailing backslash, drive roots, the icon folder, buffers that are small.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AppFolders.h"

namespace {

// What a folder function writes into a buffer of exactly nOut bytes (on the heap, where the sanitizer sees a
// write past its end).
std::string Made(void (*make)(const char*, char*, size_t), const char* pszIn, size_t nOut = 260) {
    std::vector<char> out(nOut, 'x');
    make(pszIn, out.data(), nOut);
    return std::string(out.data(), strnlen(out.data(), nOut));
}

}  // namespace

TEST(AppFolders, AppDirGetsOneTrailingBackslash) {
    EXPECT_EQ(Made(MakeAppDir, "C:\\Program Files\\Zentrive"), "C:\\Program Files\\Zentrive\\");
    EXPECT_EQ(Made(MakeAppDir, "C:\\"), "C:\\");
    EXPECT_EQ(Made(MakeAppDir, "D:\\tools\\"), "D:\\tools\\");
    EXPECT_EQ(Made(MakeAppDir, "\\\\server\\share"), "\\\\server\\share\\");
}

TEST(AppFolders, AppDirThatDoesNotFitIsEmptyAndNothingIsWrittenPastTheBuffer) {
    char out[16];
    memset(out, 'x', sizeof out);
    MakeAppDir("C:\\abcdefghijkl", out, 16);  // 15 characters + backslash + NUL = 17
    EXPECT_STREQ(out, "");
    MakeAppDir("C:\\abcdefghijk", out, 16);  // 14 + 1 + 1 = 16 fits exactly
    EXPECT_STREQ(out, "C:\\abcdefghijk\\");
    MakeAppDir("C:\\abcdefghijk\\", out, 16);  // already ends in a backslash
    EXPECT_STREQ(out, "C:\\abcdefghijk\\");
    MakeAppDir("", out, 16);
    EXPECT_STREQ(out, "");
    MakeAppDir(nullptr, out, 16);
    EXPECT_STREQ(out, "");
    // A 258-character folder, its backslash and the NUL fill MAX_PATH.
    std::string longest = "C:\\" + std::string(255, 'a');
    char path[260];
    MakeAppDir(longest.c_str(), path, sizeof path);
    EXPECT_EQ(strlen(path), 260u - 1);
    MakeAppDir((longest + "b").c_str(), path, sizeof path);
    EXPECT_STREQ(path, "");
}

TEST(AppFolders, IconDirIsTheWindowsDriveRootAndZentrive) {
    EXPECT_EQ(Made(MakeIconDir, "C:\\windows"), "C:\\Zentrive");
    EXPECT_EQ(Made(MakeIconDir, "D:\\WINNT"), "D:\\Zentrive");
    EXPECT_EQ(Made(MakeIconDir, "E:\\"), "E:\\Zentrive");
    EXPECT_EQ(Made(MakeIconDir, "C:"), "");
    EXPECT_EQ(Made(MakeIconDir, "C:\\windows", 11), "");  // needs 12
}
