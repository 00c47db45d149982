// The application's run sequence, window subclassing next to other window-procedure hooks, and the GDI
// wrappers' ownership of their handles.
#include <gtest/gtest.h>

#include "WineTestSupport.h"

namespace {

class CSequenceApp : public CWinApp {
public:
    CSequenceApp(LPCSTR lpszName, BOOL bInit, int nQuitCode) : CWinApp(lpszName), m_bInit(bInit), m_nQuit(nQuitCode) {}
    CString m_log;
    BOOL InitInstance() override {
        m_log += "init ";
        if (m_bInit) ::PostQuitMessage(m_nQuit);
        return m_bInit;
    }
    int Run() override {
        m_log += "run ";
        return CWinApp::Run();
    }
    int ExitInstance() override {
        m_log += "exit ";
        return CWinApp::ExitInstance() + 100;
    }

private:
    BOOL m_bInit;
    int m_nQuit;
};

}  // namespace

TEST(App, MessageLoopRunsOnlyWhenInitInstanceSucceeds) {
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    {
        CSequenceApp app("Given Name", FALSE, 0);
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxWinMain(hInst, nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL), 100);
        EXPECT_STREQ(app.m_log, "init exit ");
        EXPECT_STREQ(AfxGetAppName(), "Given Name");  // an explicit name wins over the string table
    }
    {
        CSequenceApp app(nullptr, TRUE, 5);
        EXPECT_EQ(AfxWinMain(hInst, nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL), 105);
        EXPECT_STREQ(app.m_log, "init run exit ");
    }
    EXPECT_EQ(AfxGetApp(), &theApp);
}

namespace {

WNDPROC g_previous;
int g_hookCalls;

// A window-procedure hook of the kind the skinned widgets install over a library window.
LRESULT CALLBACK ExternalHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TEST_USER) ++g_hookCalls;
    if (message == WM_NCDESTROY) ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    return ::CallWindowProcA(g_previous, hWnd, message, wParam, lParam);
}

class CTimerEdit : public CWnd {
public:
    CString m_log;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_log.AppendFormat("timer:%u", static_cast<unsigned>(nIDEvent)); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTimerEdit, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()
// clang-format on

}  // namespace

TEST(Subclass, ForeignHookOverTheLibraryKeepsTheMessageMap) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    HWND hWnd = dlg.m_hWnd;
    g_hookCalls = 0;
    g_previous =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ExternalHook)));
    EXPECT_EQ(g_previous, &AfxWndProc);
    EXPECT_EQ(dlg.SendMessage(WM_TEST_USER, 1, 2), 3);
    EXPECT_EQ(g_hookCalls, 1);
    EXPECT_STREQ(dlg.m_log, "user1:2");
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(Subclass, PlainControlRoutedThroughTheObjectAndGivenBack) {
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    LONG_PTR original = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    CTimerEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&AfxWndProc));
    ::SendMessageA(hEdit, WM_TIMER, 5, 0);
    ::SetWindowTextA(hEdit, "abc");  // unhandled: the edit's own procedure stores the text
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "abc");
    EXPECT_STREQ(edit.m_log, "timer:5");
    EXPECT_EQ(edit.UnsubclassWindow(), hEdit);
    EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    ::SendMessageA(hEdit, WM_TIMER, 6, 0);
    EXPECT_STREQ(edit.m_log, "timer:5");
    ::DestroyWindow(hEdit);
}

TEST(Gdi, SelectionsUndoAndObjectsDeleteTheirHandles) {
    CClientDC screen(nullptr);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 8, 6));
    BITMAP bm = {};
    ASSERT_TRUE(bmp.GetBitmap(&bm));
    EXPECT_EQ(bm.bmWidth, 8);
    EXPECT_EQ(bm.bmHeight, 6);
    CBitmap* pOld = mem.SelectObject(&bmp);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(::GetCurrentObject(mem, OBJ_BITMAP), static_cast<HGDIOBJ>(static_cast<HBITMAP>(bmp)));
    mem.FillSolidRect(0, 0, 8, 6, RGB(10, 20, 30));
    EXPECT_EQ(mem.GetPixel(3, 3), RGB(10, 20, 30));
    CDC mem2;
    ASSERT_TRUE(mem2.CreateCompatibleDC(&screen));
    CBitmap copy;
    ASSERT_TRUE(copy.CreateCompatibleBitmap(&screen, 8, 6));
    CBitmap* pOld2 = mem2.SelectObject(&copy);
    EXPECT_TRUE(mem2.BitBlt(0, 0, 8, 6, &mem, 0, 0, SRCCOPY));
    EXPECT_EQ(mem2.GetPixel(7, 5), RGB(10, 20, 30));
    mem2.SelectObject(pOld2);
    mem.SelectObject(pOld);
    EXPECT_NE(::GetCurrentObject(mem, OBJ_BITMAP), static_cast<HGDIOBJ>(static_cast<HBITMAP>(bmp)));

    HGDIOBJ hBrush;
    {
        CBrush brush(RGB(1, 2, 3));
        hBrush = brush;
        EXPECT_EQ(::GetObjectType(hBrush), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(hBrush), 0u);

    CFont font;
    ASSERT_TRUE(font.CreateFont(14, 6, 0, 0, 600, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    LOGFONTA lf = {};
    ASSERT_TRUE(font.GetObject(sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, 14);
    EXPECT_EQ(lf.lfWeight, 600);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_FALSE(font.CreateFont(10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));  // already holds one

    CRgn whole, left, rest;
    ASSERT_TRUE(whole.CreateRectRgn(0, 0, 100, 100));
    ASSERT_TRUE(left.CreateRectRgn(0, 0, 50, 100));
    ASSERT_TRUE(rest.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(rest.CombineRgn(&whole, &left, RGN_DIFF), SIMPLEREGION);
    CRect inLeft(10, 10, 20, 20), inRight(60, 10, 70, 20);
    EXPECT_FALSE(rest.RectInRegion(&inLeft));
    EXPECT_TRUE(rest.RectInRegion(&inRight));
}

TEST(Gdi, WindowRegionAndWindowContext) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    CRect rc;
    dlg.GetWindowRect(&rc);
    CRgn round;
    ASSERT_TRUE(round.CreateRoundRectRgn(0, 0, rc.Width(), rc.Height(), 40, 40));
    EXPECT_NE(dlg.SetWindowRgn(static_cast<HRGN>(round.Detach()), FALSE), 0);  // the window owns it now
    HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(dlg.m_hWnd, probe), COMPLEXREGION);
    ::DeleteObject(probe);
    {
        CWindowDC dc(&dlg);
        EXPECT_NE(dc.m_hDC, nullptr);
        CFont* pFont = dlg.GetFont();
        ASSERT_NE(pFont, nullptr);
        CFont* pOld = dc.SelectObject(pFont);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), pFont->m_hObject);
        dc.SelectObject(pOld);
    }
    dlg.DestroyWindow();
}
