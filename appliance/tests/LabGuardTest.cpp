// The lab guard's rule, on files of the test's own: same inode as a zt* entry of the namespace folder.
#include "LabGuard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class LabGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/labguard-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        netns = dir + "/netns";
        ASSERT_EQ(mkdir(netns.c_str(), 0700), 0);
        self = dir + "/self";
        FILE* f = fopen(self.c_str(), "w");
        ASSERT_NE(f, nullptr);
        fclose(f);
        FILE* g = fopen((netns + "/ztother-pc").c_str(), "w");
        ASSERT_NE(g, nullptr);
        fclose(g);
    }
    void TearDown() override { std::system(("rm -rf " + dir).c_str()); }

    std::string dir, netns, self;
};

TEST_F(LabGuardTest, FindsTheEntryThatSharesTheInode) {
    EXPECT_EQ(FindLabNamespace(self.c_str(), netns.c_str()), "");
    ASSERT_EQ(link(self.c_str(), (netns + "/zt1234-a1").c_str()), 0);
    EXPECT_EQ(FindLabNamespace(self.c_str(), netns.c_str()), "zt1234-a1");
}

TEST_F(LabGuardTest, IgnoresEntriesOutsideTheLabPrefix) {
    ASSERT_EQ(link(self.c_str(), (netns + "/office").c_str()), 0);
    EXPECT_EQ(FindLabNamespace(self.c_str(), netns.c_str()), "");
}

TEST_F(LabGuardTest, MissingFilesMeanOutside) {
    EXPECT_EQ(FindLabNamespace((dir + "/none").c_str(), netns.c_str()), "");
    EXPECT_EQ(FindLabNamespace(self.c_str(), (dir + "/none").c_str()), "");
}
