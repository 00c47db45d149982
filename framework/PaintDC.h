// CPaintDC: BeginPaint in the constructor, EndPaint in the destructor (the WM_PAINT handler's context).
#pragma once

#include "DC.h"

class CWnd;

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};
