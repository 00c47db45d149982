// CTrayIcon: the notification-area icon of the utility, with its tooltip and the popup menu of the same
// resource id.
#pragma once

#include "CmdTarget.h"

#include <windows.h>
#include <shellapi.h>

class CWnd;

// The record of the version-2 layout (tooltip of 128 characters, balloon fields, no GUID): 488 bytes in a
// 32-bit build, 504 in this 64-bit one.
constexpr DWORD TRAY_ICON_DATA_SIZE = NOTIFYICONDATAA_V2_SIZE;

class CTrayIcon : public CCmdTarget {
public:
    static const CRuntimeClass classCTrayIcon;
    const CRuntimeClass* GetRuntimeClass() const override;

    explicit CTrayIcon(UINT uID);
    ~CTrayIcon() override;

    void AttachWindow(CWnd* pWnd, UINT uCallbackMessage);
    // Adds, changes or (without an icon) removes the icon; a tip of more than 127 characters is cut.
    BOOL UpdateIcon(HICON hIcon, LPCSTR lpszTip);
    // Icon and tooltip of resource nID; 0 removes the icon.
    BOOL UpdateIconFromResource(UINT nID);
    // The shell's taskbar was (re-)created and knows no icon of ours: adds the last icon given again.
    BOOL Readd();

    // The callback of the icon: right button up opens the menu, a double-click sends its first command.
    virtual LRESULT OnTrayEvent(WPARAM wParam, LPARAM lParam);

    BOOL IsShown() const { return m_bShown; }
    const NOTIFYICONDATAA& GetData() const { return m_nid; }

private:
    void SetTip(LPCSTR lpszTip);

    NOTIFYICONDATAA m_nid;
    BOOL m_bShown = FALSE;
};
