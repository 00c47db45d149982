// CWrongPortDlg: the warning that a flash disk sits in the wrong USB port ("USB1") of an appliance.
#pragma once

#include "TrayNoticeDlg.h"

class CWrongPortDlg : public CTrayNoticeDlg {
public:
    explicit CWrongPortDlg(const CString& path, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    CString m_path;

    DECLARE_MESSAGE_MAP()
};
