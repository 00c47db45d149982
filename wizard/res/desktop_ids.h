// String ids of the desktop commands: user guide, utility installer, utility offer, desktop shortcut.
// Each shell result keeps its code in the last digits (62000 + code); launch results are 62100 + code.
#pragma once

// Opening the user guide: results of the shell's "open"
#define IDS_SHELL_FILE_NOT_FOUND 62002
#define IDS_SHELL_PATH_NOT_FOUND 62003
#define IDS_SHELL_ACCESS_DENIED 62005
#define IDS_SHELL_OUT_OF_MEMORY 62008
#define IDS_SHELL_BAD_FORMAT 62011
#define IDS_SHELL_SHARE 62026
#define IDS_SHELL_ASSOC_INCOMPLETE 62027
#define IDS_SHELL_DDE_TIMEOUT 62028
#define IDS_SHELL_DDE_FAIL 62029
#define IDS_SHELL_DDE_BUSY 62030
#define IDS_SHELL_NO_ASSOC 62031
#define IDS_SHELL_DLL_NOT_FOUND 62032

// Starting the utility installer: results of WinExec
#define IDS_LAUNCH_OUT_OF_RESOURCES 62100
#define IDS_LAUNCH_FILE_NOT_FOUND 62102
#define IDS_LAUNCH_PATH_NOT_FOUND 62103
#define IDS_LAUNCH_BAD_FORMAT 62111

// Offering the utility
#define IDS_OFFER_UTILITY 62200

// Desktop shortcut
#define IDS_SHORTCUT_SETPATH_FAILED 62201
#define IDS_SHORTCUT_SETDESCRIPTION_FAILED 62202
#define IDS_SHORTCUT_SETICON_FAILED 62203
#define IDS_SHORTCUT_SAVE_FAILED 62204
