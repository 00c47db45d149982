// The portable rules of the desktop commands: which message each shell and launch result shows, and the
// paths a desktop shortcut is made of. Free of windows.h, so the rules build and are tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// MAX_PATH: the link file is handed to the shell as at most this many UTF-16 characters, terminator included.
constexpr size_t DESKTOP_MAX_PATH = 260;

// The server name's field in the settings record; the name fills it without a terminator when 15 long.
constexpr size_t DESKTOP_SERVER_NAME_FIELD = 15;

// String id of the message for a result of the shell's "open" (32 or below), 0 when the result shows none.
unsigned ShellResultMessageId(intptr_t nResult);

// String id of the message for a result of WinExec, 0 when the result shows none (a started program, or
// a code the launcher does not report).
unsigned LaunchResultMessageId(unsigned nResult);

// g_appDir + "Manual.pdf"; the application folder always ends in a backslash.
std::string UserGuidePath(const std::string& appDir);

// The installer's command line: g_appDir + "Utility\Setup.exe", quoted so that a folder with spaces can
// never start another program whose name is a prefix of it.
std::string InstallerCommand(const std::string& appDir);

struct ShortcutPaths {
    std::string name;         // the server name
    std::string target;       // \\name, the appliance's network name as a UNC path
    std::string description;  // "Shortcut to " + name
    std::string iconPath;     // g_iconDir + "\Zentrive.ico"
    std::string linkFile;     // desktop + "\" + name + ".lnk"
};

// Builds the shortcut's paths from the settings record's name field (read up to its end or its first NUL).
// Returns false, leaving paths unspecified, when the name is empty, is not usable as one file name in the
// desktop folder (a path separator, a reserved character, a control character, or only dots and spaces),
// or the link file would not fit DESKTOP_MAX_PATH.
bool MakeShortcutPaths(const char (&serverName)[DESKTOP_SERVER_NAME_FIELD], const std::string& desktopDir,
                       const std::string& iconDir, ShortcutPaths& paths);
