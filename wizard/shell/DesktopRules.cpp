// The portable rules of the desktop commands (see DesktopRules.h).
#include "DesktopRules.h"

#include <cstring>

#include "../res/desktop_ids.h"

namespace {

struct ResultMessage {
    intptr_t nResult;
    unsigned nMessageId;
};

// The shell's "open" results of 32 or below that have a message of their own.
constexpr ResultMessage SHELL_MESSAGES[] = {
    {2, IDS_SHELL_FILE_NOT_FOUND},    {3, IDS_SHELL_PATH_NOT_FOUND}, {5, IDS_SHELL_ACCESS_DENIED},
    {8, IDS_SHELL_OUT_OF_MEMORY},     {11, IDS_SHELL_BAD_FORMAT},    {26, IDS_SHELL_SHARE},
    {27, IDS_SHELL_ASSOC_INCOMPLETE}, {28, IDS_SHELL_DDE_TIMEOUT},   {29, IDS_SHELL_DDE_FAIL},
    {30, IDS_SHELL_DDE_BUSY},         {31, IDS_SHELL_NO_ASSOC},      {32, IDS_SHELL_DLL_NOT_FOUND},
};

// The WinExec results the launcher reports.
constexpr ResultMessage LAUNCH_MESSAGES[] = {
    {0, IDS_LAUNCH_OUT_OF_RESOURCES},
    {2, IDS_LAUNCH_FILE_NOT_FOUND},
    {3, IDS_LAUNCH_PATH_NOT_FOUND},
    {11, IDS_LAUNCH_BAD_FORMAT},
};

template <size_t N>
unsigned MessageIdOf(const ResultMessage (&table)[N], intptr_t nResult) {
    for (const ResultMessage& entry : table)
        if (entry.nResult == nResult) return entry.nMessageId;
    return 0;
}

}  // namespace

unsigned ShellResultMessageId(intptr_t nResult) {
    return MessageIdOf(SHELL_MESSAGES, nResult);
}

unsigned LaunchResultMessageId(unsigned nResult) {
    return MessageIdOf(LAUNCH_MESSAGES, static_cast<intptr_t>(nResult));
}

std::string UserGuidePath(const std::string& appDir) {
    return appDir + "Manual.pdf";
}

std::string InstallerCommand(const std::string& appDir) {
    return "\"" + appDir + "Utility\\Setup.exe\"";
}

namespace {

// The name comes from the appliance: it must name one file inside the desktop folder and nothing else.
bool IsUsableFileName(const std::string& name) {
    if (name.empty()) return false;
    bool bOnlyDotsAndSpaces = true;
    for (unsigned char c : name) {
        if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
        if (c != '.' && c != ' ') bOnlyDotsAndSpaces = false;
    }
    return !bOnlyDotsAndSpaces;
}

}  // namespace

bool MakeShortcutPaths(const char (&serverName)[DESKTOP_SERVER_NAME_FIELD], const std::string& desktopDir,
                       const std::string& iconDir, ShortcutPaths& paths) {
    paths.name.assign(serverName, strnlen(serverName, DESKTOP_SERVER_NAME_FIELD));
    if (!IsUsableFileName(paths.name)) return false;
    paths.target = "\\\\" + paths.name;
    paths.description = "Shortcut to " + paths.name;
    paths.iconPath = iconDir + "\\Zentrive.ico";
    paths.linkFile = desktopDir + "\\" + paths.name + ".lnk";
    // Every character of these ANSI paths becomes at most one UTF-16 unit; the terminator needs one more.
    return paths.linkFile.size() < DESKTOP_MAX_PATH;
}
