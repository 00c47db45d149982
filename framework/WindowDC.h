// CWindowDC: GetWindowDC of a whole window (caption and frame included), released in the destructor.
#pragma once

#include "DC.h"

class CWnd;

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
