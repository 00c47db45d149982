// CClientDC: GetDC of a window's client area, released in the destructor.
#pragma once

#include "DC.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};
