// Resource ids of the library's Wine test program.
#pragma once

#define IDD_TEST 100
#define IDD_PAGE 101
#define IDD_HOST 102
#define IDD_CONTROLS 103

#define IDC_EDIT 1001
#define IDC_BUTTON 1002
#define IDC_PAGE_EDIT 1003
#define IDC_PLACEHOLDER 1006
#define IDC_LIST 1010
#define IDC_COMBO 1011
#define IDC_TREE 1012
#define IDC_DRAWN 1020
#define IDC_COMBOEX 1021

#define IDS_APP_TITLE_TEXT 57344
#define IDS_COMM_ERROR 61208
#define IDS_LONG 61300  // 600 characters: longer than a first guess at the buffer
#define IDR_TESTFRAME 130

#define ID_TEST_COMMAND 32771
