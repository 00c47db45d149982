// The desktop commands' rules: which results show a message, and what a shortcut is made of.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "../../DesktopRules.h"
#include "../../../res/desktop_ids.h"

namespace {

void SetName(char (&field)[DESKTOP_SERVER_NAME_FIELD], const char* name) {
    memset(field, 0, sizeof field);
    memcpy(field, name, strnlen(name, sizeof field));
}

}  // namespace

TEST(ShellResult, EveryListedCodeHasItsOwnMessageAndNothingElseShowsOne) {
    const intptr_t listed[] = {2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32};
    std::set<unsigned> ids;
    for (intptr_t code : listed) {
        unsigned id = ShellResultMessageId(code);
        EXPECT_EQ(id, 62000u + static_cast<unsigned>(code)) << code;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 12u);
    EXPECT_EQ(ShellResultMessageId(2), unsigned{IDS_SHELL_FILE_NOT_FOUND});
    EXPECT_EQ(ShellResultMessageId(31), unsigned{IDS_SHELL_NO_ASSOC});
    // Success (above 32), the unlisted low codes and negative values show nothing.
    for (intptr_t code :
         {intptr_t{0}, intptr_t{1}, intptr_t{4}, intptr_t{25}, intptr_t{33}, intptr_t{42}, intptr_t{-2}})
        EXPECT_EQ(ShellResultMessageId(code), 0u) << code;
}

TEST(LaunchResult, OutOfResourcesFileAndPathNotFoundAndBadFormatOnly) {
    EXPECT_EQ(LaunchResultMessageId(0), unsigned{IDS_LAUNCH_OUT_OF_RESOURCES});
    EXPECT_EQ(LaunchResultMessageId(2), unsigned{IDS_LAUNCH_FILE_NOT_FOUND});
    EXPECT_EQ(LaunchResultMessageId(3), unsigned{IDS_LAUNCH_PATH_NOT_FOUND});
    EXPECT_EQ(LaunchResultMessageId(11), unsigned{IDS_LAUNCH_BAD_FORMAT});
    // A launch error without its own text (5: access denied) and a started program (33) show nothing.
    for (unsigned code : {1u, 5u, 8u, 31u, 32u, 33u}) EXPECT_EQ(LaunchResultMessageId(code), 0u) << code;
}

TEST(Paths, UserGuideAndInstallerAreInTheApplicationFolder) {
    EXPECT_EQ(UserGuidePath("C:\\Zentrive\\"), "C:\\Zentrive\\Manual.pdf");
    EXPECT_EQ(UserGuidePath("D:\\"), "D:\\Manual.pdf");
    EXPECT_EQ(InstallerCommand("C:\\Zentrive\\"), "\"C:\\Zentrive\\Utility\\Setup.exe\"");
}

TEST(Paths, InstallerInAFolderWithSpacesIsOneQuotedProgramName) {
    std::string cmd = InstallerCommand("C:\\Program Files\\Zentrive\\");
    EXPECT_EQ(cmd, "\"C:\\Program Files\\Zentrive\\Utility\\Setup.exe\"");
}

TEST(Shortcut, Nas1GivesItsLinkTargetDescriptionAndIcon) {
    char name[DESKTOP_SERVER_NAME_FIELD];
    SetName(name, "NAS1");
    ShortcutPaths p;
    ASSERT_TRUE(MakeShortcutPaths(name, "C:\\users\\me\\Desktop", "C:\\Zentrive", p));
    EXPECT_EQ(p.name, "NAS1");
    EXPECT_EQ(p.target, "\\\\NAS1");
    EXPECT_EQ(p.description, "Shortcut to NAS1");
    EXPECT_EQ(p.iconPath, "C:\\Zentrive\\Zentrive.ico");
    EXPECT_EQ(p.linkFile, "C:\\users\\me\\Desktop\\NAS1.lnk");
}

TEST(Shortcut, NameFillingTheWholeFieldIsReadToTheFieldsEnd) {
    // 15 characters, no terminator: the name must stop at the field, not run into what follows.
    struct {
        char field[DESKTOP_SERVER_NAME_FIELD];
        char after[8];
    } record;
    memcpy(record.field, "ABCDEFGHIJKLMNO", DESKTOP_SERVER_NAME_FIELD);
    memcpy(record.after, "XYZXYZX", 8);
    ShortcutPaths p;
    ASSERT_TRUE(MakeShortcutPaths(record.field, "C:\\D", "C:\\Zentrive", p));
    EXPECT_EQ(p.name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(p.linkFile, "C:\\D\\ABCDEFGHIJKLMNO.lnk");
}

TEST(Shortcut, NamesThatAreNotOneFileInTheDesktopAreRefused) {
    const char* bad[] = {"", "..\\..\\evil", "a/b", "C:x", "NAS*", "N?S", "N\"S", "<NAS>", "N|S", "..", " . ", "N\tS"};
    for (const char* n : bad) {
        char name[DESKTOP_SERVER_NAME_FIELD];
        SetName(name, n);
        ShortcutPaths p;
        EXPECT_FALSE(MakeShortcutPaths(name, "C:\\D", "C:\\Zentrive", p)) << '"' << n << '"';
    }
    // Characters the server page forbids but a file name allows still make a shortcut.
    char name[DESKTOP_SERVER_NAME_FIELD];
    SetName(name, "NAS 1.a;b=c");
    ShortcutPaths p;
    EXPECT_TRUE(MakeShortcutPaths(name, "C:\\D", "C:\\Zentrive", p));
}

TEST(Shortcut, LinkFileMustFitMaxPathWithItsTerminator) {
    char name[DESKTOP_SERVER_NAME_FIELD];
    SetName(name, "NAS1");
    ShortcutPaths p;
    // desktop + "\" + "NAS1.lnk" = 259 characters: fits with the terminator; one more does not.
    std::string desktop(259 - 9, 'd');
    EXPECT_TRUE(MakeShortcutPaths(name, desktop, "C:\\Zentrive", p));
    EXPECT_EQ(p.linkFile.size(), 259u);
    EXPECT_FALSE(MakeShortcutPaths(name, desktop + "d", "C:\\Zentrive", p));
}
