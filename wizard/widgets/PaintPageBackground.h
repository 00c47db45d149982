// PaintPageBackground: the skinned look of the wizard's windows. The whole background is one bitmap
// stretched over a hidden static control; the controls draw themselves on top.
#pragma once

#include "Framework.h"

// The background static of the wizard window and every page; the two small dialogs use 1028.
#define IDC_PAGE_BACKGROUND 1005
#define IDC_DIALOG_BACKGROUND 1028

// The WM_PAINT handler body of such a window: bitmap nBitmapId (low 16 bits) over the client rectangle of
// control nBackgroundId. A window without that control is filled over its whole client area.
void PaintPageBackground(CWnd* pWnd, UINT nBitmapId, int nBackgroundId = IDC_PAGE_BACKGROUND);

// The same painting into a context the caller owns (the paint handler's, or a test's).
void PaintPageBackground(CWnd* pWnd, CDC* pDC, UINT nBitmapId, int nBackgroundId = IDC_PAGE_BACKGROUND);

// The WM_CTLCOLOR handler body of the wizard window and its pages: the controls that draw on the background
// (edits, lists, buttons, scroll bars, statics) get black text on crBack; the handler returns its brush.
void ColourPageControl(CDC* pDC, UINT nCtlColor, COLORREF crBack);
