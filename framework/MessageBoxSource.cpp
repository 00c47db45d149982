// CMessageBoxSource: the system's message boxes.
#include "MessageBoxSource.h"

namespace {

CMessageBoxSource g_systemBoxes;
CMessageBoxSource* g_pBoxSource = &g_systemBoxes;

}  // namespace

int CMessageBoxSource::MessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    return ::MessageBoxA(hWndOwner, lpszText, lpszCaption, nType);
}

CMessageBoxSource* CMessageBoxSource::Current() {
    return g_pBoxSource;
}

CMessageBoxSource* CMessageBoxSource::Install(CMessageBoxSource* pSource) {
    CMessageBoxSource* previous = g_pBoxSource;
    g_pBoxSource = pSource ? pSource : &g_systemBoxes;
    return previous;
}
