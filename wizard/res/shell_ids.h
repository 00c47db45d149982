// Resource ids of the wizard window (template 102) and the page templates.
#pragma once

// Wizard window
#define IDD_WIZARD 102
#define IDC_WIZARD_BACKGROUND 1005
#define IDC_WIZARD_PLACEHOLDER 1006
#define IDC_MINIMIZE 1014
#define IDC_CLOSE 2
#define IDC_SETUP 1032
#define IDC_UTILITY 1054
#define IDC_USER_GUIDE 1044
#define IDC_NEXT 1029
#define IDC_BACK 1002
#define IDC_SAVE 1001
#define IDC_ADVANCED 1052
#define IDC_SHORTCUT 1046
#define IDC_EXIT 1033
#define IDC_FINISH 12325
#define IDC_SHEET_NEXT 12324
#define IDC_SHEET_BACK 12323

// Pages: each template has the background static 1005 over its whole area.
#define IDD_WELCOME 134
#define IDD_IP_SETTINGS 130
#define IDD_SERVER 133
#define IDD_SUMMARY 136
#define IDD_FINISH 182
#define IDC_PAGE_BACKGROUND_STATIC 1005

// Strings
#define IDS_WIZARD_TITLE 61286
