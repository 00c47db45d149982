// CMessageBoxSource: the system's message boxes.
#include "MessageBoxSource.h"

int CMessageBoxSource::MessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    return ::MessageBoxA(hWndOwner, lpszText, lpszCaption, nType);
}
