// Resource ids of Pebblink: templates, menu, strings, controls and commands. The pictures' ids are in
// art/ArtIds.h.
#pragma once

#include "art/ArtIds.h"

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_DRIVE_REMOVED 132
#define IDD_MAP_DRIVE 133
#define IDD_SAFE_REMOVE 142
#define IDD_WRONG_PORT 145

// The frame's resource id: tray menu and frame
#define IDR_MAINFRAME 130

// Strings
#define IDS_MAIN_TITLE 57345  // "Pebblink Utility", the title the single-instance check looks for

// Controls
#define IDC_DRIVE_BOX 1000
#define IDC_PATH 1002
#define IDC_REFRESH 1005
#define IDC_NOTICE_TEXT 1006
#define IDC_EJECT 1008
#define IDC_DEVICE_TREE 1009
#define IDC_NOTICE_ICON 1010

// Tray menu commands
#define ID_MAP_DRIVE 32771
#define ID_SAFELY_REMOVE 32773

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
