#pragma once
#define IDD_TARGET 100
#define IDC_EDIT 1001
#define IDC_CHANGES 1002
#define IDC_ASK 1003
#define IDC_RESULT 1004
#define IDC_TREE 1005
#define IDC_LIST 1006
#define IDC_COMBO 1007
#define IDC_ARM 1008
#define IDC_LATE 1009
// The page: a child dialog whose controls repeat ids of the window it sits on.
#define IDD_TARGET_PAGE 101
#define IDC_PAGE_NUMBER 1010
