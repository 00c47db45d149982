// CWrongPortDlg: the warning that a flash disk sits in the wrong USB port ("USB1") of an appliance.
#pragma once

#include "Dialog.h"
#include "Static.h"

class CWrongPortDlg : public CDialog {
public:
    explicit CWrongPortDlg(const CString& path, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    CString m_path;
    CStatic m_icon;
    CStatic m_text;

    DECLARE_MESSAGE_MAP()
};
