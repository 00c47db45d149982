// CMessageBoxSource: the one place where message boxes are shown (test seam).
//
// AfxMessageBox and CWnd::MessageBox call CMessageBoxSource::Current(); in the product that is this class,
// which calls ::MessageBoxA. Product code shows its boxes through those two, never ::MessageBoxA. A test
// installs a CMessageBoxRecorder (testsupport/MessageBoxRecorder.h), which records owner, text, caption and type and
// answers with a chosen button without showing anything:
//
//   CMessageBoxRecorder boxes;          // installed until it goes out of scope
//   boxes.QueueAnswer(IDNO);            // the next box answers IDNO, later ones IDOK
//   ...run the code...
//   ASSERT_EQ(boxes.GetCount(), 1);
//   EXPECT_STREQ(boxes.Last().text, "Device no response");
//   EXPECT_EQ(boxes.Last().Icon(), MB_ICONEXCLAMATION);
#pragma once

#include <windows.h>

#include "Seam.h"

class CMessageBoxSource : public CSeam<CMessageBoxSource> {
public:
    // Same contract as ::MessageBoxA: returns the button pressed (IDOK, IDCANCEL, IDYES, ...).
    virtual int MessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
};
