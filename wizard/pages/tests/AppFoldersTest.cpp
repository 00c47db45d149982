// The folder strings of start-up: trailing backslash, drive roots, the icon folder, buffers that are small.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "AppFolders.h"

TEST(AppFolders, AppDirGetsOneTrailingBackslash) {
    char out[260];
    MakeAppDir("C:\\Program Files\\Zentrive", out, sizeof out);
    EXPECT_STREQ(out, "C:\\Program Files\\Zentrive\\");
    MakeAppDir("C:\\", out, sizeof out);
    EXPECT_STREQ(out, "C:\\");
    MakeAppDir("D:\\tools\\", out, sizeof out);
    EXPECT_STREQ(out, "D:\\tools\\");
    MakeAppDir("\\\\server\\share", out, sizeof out);
    EXPECT_STREQ(out, "\\\\server\\share\\");
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
    char out[260];
    MakeIconDir("C:\\windows", out, sizeof out);
    EXPECT_STREQ(out, "C:\\Zentrive");
    MakeIconDir("D:\\WINNT", out, sizeof out);
    EXPECT_STREQ(out, "D:\\Zentrive");
    MakeIconDir("E:\\", out, sizeof out);
    EXPECT_STREQ(out, "E:\\Zentrive");
    MakeIconDir("C:", out, sizeof out);
    EXPECT_STREQ(out, "");
    char small[11];
    MakeIconDir("C:\\windows", small, sizeof small);  // needs 12
    EXPECT_STREQ(small, "");
}
