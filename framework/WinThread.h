// CWinThread: the part of the application object that the window classes use (its main window, instance
// handle and title), below CWinApp, so that windows and dialogs never need the application class itself.
// The one application object (CWinApp) is the current thread object.
#pragma once

#include <windows.h>

#include <cstddef>

#include "CmdTarget.h"

class CWnd;

class CWinThread : public CCmdTarget {
public:
    CWnd* m_pMainWnd = nullptr;
    LPCSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;

protected:
    CWinThread();
    ~CWinThread() override;

private:
    CWinThread* m_pPrevious;  // an object made while another exists (tests) stands in for it
};

// The current application object as a thread object; NULL before one exists.
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The application's title (the executable's name when no application object exists yet).
LPCSTR AfxGetAppName();
// The executable's file name without folder and extension ("C:\\dir\\Zentrive_Setup.exe" -> "Zentrive_Setup").
void AfxGetExeBaseName(char* pszName, size_t nSize);
