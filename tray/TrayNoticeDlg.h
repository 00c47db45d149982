// CTrayNoticeDlg: base of the tray's two notices (a removed drive, a disk in the wrong port): a system icon
// beside one line of text, in a topmost window so that it is seen over whatever the user is working in.
#pragma once

#include "Dialog.h"
#include "Static.h"

class CTrayNoticeDlg : public CDialog {
public:
    CTrayNoticeDlg(UINT nIDTemplate, CWnd* pParent);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Shows text beside the system icon lpszIcon (IDI_ASTERISK, IDI_EXCLAMATION) and raises the window.
    void ShowNotice(const CString& text, LPCSTR lpszIcon);

    CStatic m_icon;
    CStatic m_text;
};
