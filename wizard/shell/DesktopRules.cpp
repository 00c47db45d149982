// The portable rules of the desktop commands (see DesktopRules.h).
#include "DesktopRules.h"

#include <cstring>

#include "../res/desktop_ids.h"

unsigned ShellResultMessageId(intptr_t nResult) {
    switch (nResult) {
        case 2:
            return IDS_SHELL_FILE_NOT_FOUND;
        case 3:
            return IDS_SHELL_PATH_NOT_FOUND;
        case 5:
            return IDS_SHELL_ACCESS_DENIED;
        case 8:
            return IDS_SHELL_OUT_OF_MEMORY;
        case 11:
            return IDS_SHELL_BAD_FORMAT;
        case 26:
            return IDS_SHELL_SHARE;
        case 27:
            return IDS_SHELL_ASSOC_INCOMPLETE;
        case 28:
            return IDS_SHELL_DDE_TIMEOUT;
        case 29:
            return IDS_SHELL_DDE_FAIL;
        case 30:
            return IDS_SHELL_DDE_BUSY;
        case 31:
            return IDS_SHELL_NO_ASSOC;
        case 32:
            return IDS_SHELL_DLL_NOT_FOUND;
        default:
            return 0;
    }
}

unsigned LaunchResultMessageId(unsigned nResult) {
    switch (nResult) {
        case 0:
            return IDS_LAUNCH_OUT_OF_RESOURCES;
        case 2:
            return IDS_LAUNCH_FILE_NOT_FOUND;
        case 3:
            return IDS_LAUNCH_PATH_NOT_FOUND;
        case 11:
            return IDS_LAUNCH_BAD_FORMAT;
        default:
            return 0;
    }
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
