// Saves what the screen shows of a window (or the whole screen) as a 24-bit BMP file, for test artifacts.
#pragma once

#include <windows.h>

// hwnd NULL: the whole screen. Returns FALSE when the file cannot be written.
BOOL SaveScreenshot(HWND hwnd, const char* path);

// Repaints the window and saves it as NAME.bmp in the run's artifacts folder (%ZT_ARTIFACTS_WIN%); nothing outside
// a test run.
BOOL SaveArtifactScreenshot(HWND hwnd, const char* name);
