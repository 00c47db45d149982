// Command and string ids that the library itself knows.
#pragma once

#define ID_APP_ABOUT 0xE140       // 57664
#define ID_APP_EXIT 0xE141        // 57665: closes the main window
#define AFX_IDS_APP_TITLE 0xE000  // 57344: the application's title, when the string table has it
