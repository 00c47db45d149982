// The skinned widgets under Wine: hover button frames, size and z-order; the hook chain; the caption
// painter's gradient, caching and activation; the stretched page background.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../../res/art/ArtIds.h"
#include "../../res/resource.h"
#include "CaptionPainter.h"
#include "Framework.h"
#include "HoverButton.h"
#include "MessagePump.h"
#include "PaintPageBackground.h"
#include "Screenshot.h"
#include "SubclassWnd.h"
#include "WidgetsTestIds.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

// A 32-bit memory bitmap whose pixels read back exactly.
class CMemoryPicture {
public:
    CMemoryPicture(int cx, int cy, COLORREF crFill = RGB(255, 0, 255)) : m_cx(cx), m_cy(cy) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = cx;
        bi.bmiHeader.biHeight = -cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_dc.Attach(::CreateCompatibleDC(nullptr));
        m_hOld = ::SelectObject(m_dc, m_hBitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, crFill);
    }
    ~CMemoryPicture() {
        ::SelectObject(m_dc, m_hOld);
        ::DeleteDC(m_dc.Detach());
        ::DeleteObject(m_hBitmap);
    }
    CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    // How many pixels left of nRight (and of the whole height) are such.
    template <class Such>
    int Count(int nRight, Such such) const {
        int n = 0;
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < nRight; ++x) n += such(At(x, y)) ? 1 : 0;
        return n;
    }
    int m_cx, m_cy;

private:
    CDC m_dc;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

// The pixels of one frame of a strip as LoadButtonBitmap loads it.
std::vector<COLORREF> FramePixels(UINT nBitmapId, int nFrame) {
    HBITMAP hStrip = static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nBitmapId), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    BITMAP bm{};
    ::GetObjectA(hStrip, sizeof bm, &bm);
    const int cx = bm.bmWidth / 3, cy = bm.bmHeight;
    CMemoryPicture pic(cx, cy);
    HDC hMem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hMem, hStrip);
    ::BitBlt(*pic.DC(), 0, 0, cx, cy, hMem, nFrame * cx, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::DeleteObject(hStrip);
    std::vector<COLORREF> px;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) px.push_back(pic.At(x, y));
    return px;
}

std::vector<COLORREF> DrawnPixels(CHoverButton& button, UINT nState) {
    CMemoryPicture pic(button.GetFrameWidth(), button.GetFrameHeight());
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = nState;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = *pic.DC();
    dis.rcItem = {0, 0, pic.m_cx, pic.m_cy};
    button.DrawItem(&dis);
    std::vector<COLORREF> px;
    for (int y = 0; y < pic.m_cy; ++y)
        for (int x = 0; x < pic.m_cx; ++x) px.push_back(pic.At(x, y));
    return px;
}

// What the screen shows of a window's client area, pixel by pixel.
std::vector<COLORREF> ScreenPixels(HWND hWnd, int cx, int cy) {
    POINT pt{0, 0};
    ::ClientToScreen(hWnd, &pt);
    HDC hScreen = ::GetDC(nullptr);
    CMemoryPicture pic(cx, cy);
    ::BitBlt(*pic.DC(), 0, 0, cx, cy, hScreen, pt.x, pt.y, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
    std::vector<COLORREF> px;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) px.push_back(pic.At(x, y));
    return px;
}

// A plain top-level window of the library for the widgets to live on.
class CHostWnd : public CWnd {
public:
    BOOL Make(int x, int y, int cx, int cy, LPCSTR pszTitle = "Widget host") {
        LPCSTR pszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                              reinterpret_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        if (!CreateEx(0, pszClass, pszTitle, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, cx, cy, nullptr, nullptr))
            return FALSE;
        UpdateWindow();
        return TRUE;
    }
};

HWND MakeChild(CWnd* pParent, LPCSTR pszClass, DWORD dwStyle, int x, int y, int cx, int cy, int nId) {
    return ::CreateWindowExA(0, pszClass, "", WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy, pParent->m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

// ---- CHoverButton --------------------------------------------------------------------------------------

class HoverButton : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make(40, 40, 320, 160));
        // Siblings made before and after the button; the first child made is the top one.
        m_hBelow = MakeChild(&m_host, "STATIC", SS_GRAYRECT, 10, 20, 200, 60, 2001);
        HWND hButton = MakeChild(&m_host, "BUTTON", BS_OWNERDRAW, 20, 30, 50, 10, 2002);
        m_hAbove = MakeChild(&m_host, "STATIC", SS_WHITERECT, 60, 40, 100, 20, 2003);
        ASSERT_TRUE(m_button.SubclassWindow(hButton));
    }
    void TearDown() override {
        if (m_host.m_hWnd) m_host.DestroyWindow();
    }
    CHostWnd m_host;
    CHoverButton m_button;
    HWND m_hBelow = nullptr, m_hAbove = nullptr;
};

TEST_F(HoverButton, StripMakesTheButtonOneFrameLargeInPlaceAndOnTop) {
    ASSERT_NE(::GetWindow(m_host.m_hWnd, GW_CHILD), m_button.m_hWnd);
    EXPECT_TRUE(m_button.LoadButtonBitmap(IDB_BTN_SETUP));
    EXPECT_EQ(m_button.GetFrameWidth(), 88);
    EXPECT_EQ(m_button.GetFrameHeight(), 26);
    CRect rc;
    m_button.GetWindowRect(&rc);
    m_host.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(20, 30, 108, 56));
    EXPECT_EQ(::GetWindow(m_host.m_hWnd, GW_CHILD), m_button.m_hWnd) << "the button is above its siblings";
    // A second strip replaces the first.
    EXPECT_TRUE(m_button.LoadButtonBitmap(IDB_BTN_NEXT));
    EXPECT_EQ(FramePixels(IDB_BTN_NEXT, 0), DrawnPixels(m_button, 0));
}

TEST_F(HoverButton, FramesFollowHoverLeaveAndPress) {
    ASSERT_TRUE(m_button.LoadButtonBitmap(IDB_BTN_SETUP));
    const auto normal = FramePixels(IDB_BTN_SETUP, 0), pressed = FramePixels(IDB_BTN_SETUP, 1),
               lit = FramePixels(IDB_BTN_SETUP, 2);
    ASSERT_NE(normal, lit);
    ASSERT_NE(normal, pressed);

    EXPECT_EQ(DrawnPixels(m_button, 0), normal);
    EXPECT_EQ(DrawnPixels(m_button, ODS_SELECTED), pressed);

    EXPECT_EQ(m_button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(5, 5)), 0);
    EXPECT_EQ(m_button.m_bHover, 1);
    EXPECT_EQ(DrawnPixels(m_button, 0), lit);
    EXPECT_EQ(DrawnPixels(m_button, ODS_SELECTED), pressed) << "pressed wins over hover";
    // The hover notice invalidates: the screen shows the lit frame after the repaint.
    m_button.UpdateWindow();
    EXPECT_EQ(ScreenPixels(m_button.m_hWnd, 88, 26), lit);
    SaveArtifactScreenshot(m_host.m_hWnd, "widgets_hover_lit");

    m_button.m_bTracking = 1;
    EXPECT_EQ(m_button.SendMessage(WM_MOUSELEAVE), 0);
    EXPECT_EQ(m_button.m_bHover, 0);
    EXPECT_EQ(m_button.m_bTracking, 0);
    m_button.UpdateWindow();
    EXPECT_EQ(ScreenPixels(m_button.m_hWnd, 88, 26), normal);
}

TEST_F(HoverButton, AStripWithAColourTableTakesTheSystems3DColours) {
    const UINT nStrip = IDB_TEST_PALETTE_STRIP;
    ASSERT_TRUE(m_button.LoadButtonBitmap(nStrip));
    EXPECT_EQ(m_button.GetFrameWidth(), 4);
    EXPECT_EQ(m_button.GetFrameHeight(), 2);
    const auto pressed = DrawnPixels(m_button, ODS_SELECTED);
    EXPECT_EQ(pressed, FramePixels(nStrip, 1));
    // Its bottom row is palette entry 1, light grey: shown as the face colour.
    EXPECT_EQ(pressed[4], ::GetSysColor(COLOR_3DFACE) & 0xFFFFFF);
    EXPECT_EQ(DrawnPixels(m_button, 0), FramePixels(nStrip, 0));
}

TEST_F(HoverButton, RealPointerArmsTrackingAndGetsHoverAndLeave) {
    ASSERT_TRUE(m_button.LoadButtonBitmap(IDB_BTN_SETUP));
    m_host.SetForegroundWindow();
    POINT pt{44, 13};
    ::ClientToScreen(m_button.m_hWnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
    PumpMessages();
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(44, 13));
    EXPECT_EQ(m_button.m_bTracking, 1);
    EXPECT_TRUE(PumpUntil([&] { return m_button.m_bHover; }, 1000));
    EXPECT_EQ(m_button.m_bHover, 1);
    ::SetCursorPos(pt.x + 200, pt.y + 200);
    EXPECT_TRUE(PumpUntil([&] { return !m_button.m_bTracking; }, 1000));
    EXPECT_EQ(m_button.m_bTracking, 0);
    EXPECT_EQ(m_button.m_bHover, 0);
    // Entering again re-arms tracking once.
    ::SetCursorPos(pt.x, pt.y);
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(44, 13));
    EXPECT_EQ(m_button.m_bTracking, 1);
    ::SetCursorPos(pt.x + 200, pt.y + 200);
    EXPECT_TRUE(PumpUntil([&] { return !m_button.m_bTracking; }, 1000));
}

// ---- CSubclassWnd -----------------------------------------------------------------------------------------

namespace {

std::string g_trail;  // who saw which message, in order

LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP && message < WM_APP + 10) {
        g_trail += "own:" + std::to_string(message - WM_APP) + " ";
        return 100 + static_cast<LRESULT>(message - WM_APP);
    }
    if (message == WM_NCDESTROY) g_trail += "own:ncdestroy ";
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakePlainWindow() {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZtHookTarget";
        atom = ::RegisterClassA(&wc);
    }
    return ::CreateWindowExA(0, "ZtHookTarget", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

class CTrailHook : public CSubclassWnd {
public:
    explicit CTrailHook(const char* pszName) : m_name(pszName) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCDESTROY) g_trail += m_name + ":ncdestroy ";
        if (message >= WM_APP && message < WM_APP + 10) {
            g_trail += m_name + ":" + std::to_string(message - WM_APP) + " ";
            // Message 5: send 6 to the own window first, then pass 5 on as by default.
            if (message == WM_APP + 5) {
                ::SendMessageA(m_hWnd, WM_APP + 6, 0, 0);
                return Default();
            }
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
    std::string m_name;
};

WNDPROC ProcOf(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

}  // namespace

TEST(SubclassWnd, TwoHooksChainMostRecentFirstAndDetachInEitherOrder) {
    HWND hWnd = MakePlainWindow();
    ASSERT_TRUE(hWnd);
    CTrailHook a("a"), b("b");
    ASSERT_TRUE(a.HookWindow(hWnd));
    EXPECT_EQ(ProcOf(hWnd), &CSubclassWnd::HookWndProc);
    ASSERT_TRUE(b.HookWindow(hWnd));
    EXPECT_EQ(CSubclassWnd::FirstHook(hWnd), &b);

    g_trail.clear();
    EXPECT_EQ(::SendMessageA(hWnd, WM_APP + 1, 0, 0), 101);
    EXPECT_EQ(g_trail, "b:1 a:1 own:1 ");

    // Detaching the first hook leaves the second one in charge; the procedure stays the hook's.
    EXPECT_TRUE(b.HookWindow(static_cast<HWND>(nullptr)));
    EXPECT_FALSE(b.IsHooked());
    EXPECT_EQ(CSubclassWnd::FirstHook(hWnd), &a);
    EXPECT_EQ(ProcOf(hWnd), &CSubclassWnd::HookWndProc);
    g_trail.clear();
    ::SendMessageA(hWnd, WM_APP + 2, 0, 0);
    EXPECT_EQ(g_trail, "a:2 own:2 ");

    // The last hook puts the window's own procedure back.
    EXPECT_TRUE(a.HookWindow(static_cast<HWND>(nullptr)));
    EXPECT_EQ(CSubclassWnd::FirstHook(hWnd), nullptr);
    EXPECT_EQ(ProcOf(hWnd), &OwnProc);
    g_trail.clear();
    ::SendMessageA(hWnd, WM_APP + 3, 0, 0);
    EXPECT_EQ(g_trail, "own:3 ");

    // The other order: the hook further down the chain is unlinked, the first one stays.
    ASSERT_TRUE(a.HookWindow(hWnd));
    ASSERT_TRUE(b.HookWindow(hWnd));
    EXPECT_TRUE(a.HookWindow(static_cast<HWND>(nullptr)));
    EXPECT_EQ(CSubclassWnd::FirstHook(hWnd), &b);
    g_trail.clear();
    ::SendMessageA(hWnd, WM_APP + 4, 0, 0);
    EXPECT_EQ(g_trail, "b:4 own:4 ");
    EXPECT_TRUE(b.HookWindow(static_cast<HWND>(nullptr)));
    EXPECT_EQ(ProcOf(hWnd), &OwnProc);
    ::DestroyWindow(hWnd);
}

TEST(SubclassWnd, DestroyingAHookedWindowDetachesEveryHookAndReachesItsOwnProcedure) {
    HWND hWnd = MakePlainWindow();
    CTrailHook a("a"), b("b");
    ASSERT_TRUE(a.HookWindow(hWnd));
    ASSERT_TRUE(b.HookWindow(hWnd));
    g_trail.clear();
    ::DestroyWindow(hWnd);
    EXPECT_EQ(g_trail, "own:ncdestroy ");
    EXPECT_FALSE(a.IsHooked());
    EXPECT_FALSE(b.IsHooked());
    EXPECT_EQ(CSubclassWnd::FirstHook(hWnd), nullptr);
    // A later window that gets the same handle starts without hooks; detaching again is harmless.
    EXPECT_TRUE(a.HookWindow(static_cast<HWND>(nullptr)));
}

TEST(SubclassWnd, DefaultPassesOnTheHooksOwnMessageAfterANestedOne) {
    HWND hWnd = MakePlainWindow();
    CTrailHook a("a");
    ASSERT_TRUE(a.HookWindow(hWnd));
    g_trail.clear();
    EXPECT_EQ(::SendMessageA(hWnd, WM_APP + 5, 0, 0), 105);
    EXPECT_EQ(g_trail, "a:5 a:6 own:6 own:5 ");
    // A hook destroyed while attached leaves the window working.
    {
        CTrailHook b("b");
        ASSERT_TRUE(b.HookWindow(hWnd));
    }
    g_trail.clear();
    ::SendMessageA(hWnd, WM_APP + 7, 0, 0);
    EXPECT_EQ(g_trail, "a:7 own:7 ");
    a.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_EQ(ProcOf(hWnd), &OwnProc);
    ::DestroyWindow(hWnd);
}

// ---- CCaptionPainter ---------------------------------------------------------------------------------------

namespace {

const UINT WM_TEST_PAINT_CAPTION = WM_USER + 5;

// A window that hands the painter's request to the gradient painting, counting the requests.
class CCaptionHost : public CHostWnd {
public:
    CCaptionPainter m_painter;
    int m_nPaints = 0;
    int m_nFontDrops = 0;

protected:
    afx_msg LRESULT OnPaintCaption(WPARAM wParam, LPARAM lParam) {
        if (lParam)
            ++m_nPaints;
        else
            ++m_nFontDrops;
        return m_painter.PaintGradientCaption(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CCaptionHost, CHostWnd)
    ON_MESSAGE(WM_TEST_PAINT_CAPTION, OnPaintCaption)
END_MESSAGE_MAP()
// clang-format on

// Paints one look of a painter installed with pszText, on a window of its own, into a fresh picture.
void PaintLook(const char* pszText, CMemoryPicture& pic, int bActive) {
    CCaptionHost host;
    ASSERT_TRUE(host.Make(0, 0, 300, 120, ""));
    host.m_painter.Install(&host, WM_TEST_PAINT_CAPTION, pszText);
    PAINTCAPTIONSTRUCT pcs{pic.m_cx, pic.m_cy, pic.DC(), bActive};
    host.m_painter.PaintGradientCaption(static_cast<WPARAM>(bActive), reinterpret_cast<LPARAM>(&pcs));
    host.DestroyWindow();
}

struct SysColour {
    explicit SysColour(COLORREF cr) : m_old(::GetSysColor(COLOR_INACTIVECAPTION)) {
        INT n = COLOR_INACTIVECAPTION;
        ::SetSysColors(1, &n, &cr);
    }
    ~SysColour() {
        INT n = COLOR_INACTIVECAPTION;
        ::SetSysColors(1, &n, &m_old);
    }
    COLORREF m_old;
};

}  // namespace

TEST(CaptionPainter, ActiveCaptionIsBlackWithWhiteText) {
    CMemoryPicture pic(300, 20);
    PaintLook("Setup Wizard", pic, 1);
    // Smoothed text is grey, never coloured.
    EXPECT_EQ(pic.Count(300, [](COLORREF c) { return GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c); }),
              0);
    EXPECT_GT(pic.Count(300, [](COLORREF c) { return GetRValue(c) > 200; }), 20) << "white text";
    for (int x = 120; x < 300; ++x) EXPECT_EQ(pic.At(x, 10), RGB(0, 0, 0)) << "no text beyond the title at " << x;
}

TEST(CaptionPainter, InactiveCaptionOnALightSystemColourHasBlackTextOverTheGradient) {
    SysColour light(RGB(200, 210, 230));
    CMemoryPicture pic(300, 24);
    PaintLook("Setup Wizard", pic, 0);
    EXPECT_EQ(pic.At(0, 0), RGB(200, 210, 230)) << "the left edge takes the system colour";
    EXPECT_EQ(pic.At(299, 0), RGB(0, 0, 0)) << "the right sixth is black";
    EXPECT_EQ(pic.At(250, 0), RGB(0, 0, 0));
    const COLORREF mid = pic.At(150, 0);
    EXPECT_GT(GetBValue(mid), 0);
    EXPECT_LT(GetBValue(mid), 230);
    EXPECT_GT(pic.Count(60, [](COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60; }), 10)
        << "black text on the light left end";
    EXPECT_EQ(pic.Count(60, [](COLORREF c) { return GetRValue(c) > 245 && GetGValue(c) > 245 && GetBValue(c) > 245; }),
              0);
}

TEST(CaptionPainter, NarrowCaptionUsesOnePixelStrips) {
    SysColour colour(RGB(174, 116, 232));
    CMemoryPicture pic(70, 18);
    PaintLook("", pic, 0);
    const int w1 = 58;
    for (int y = 0; y < 18; y += 17) {
        EXPECT_EQ(pic.At(0, y), RGB(174, 116, 232));
        for (int x = 1; x < w1; ++x)
            EXPECT_EQ(pic.At(x, y), RGB((w1 - x) * 174 / w1, (w1 - x) * 116 / w1, (w1 - x) * 232 / w1)) << x;
        for (int x = w1; x < 70; ++x) EXPECT_EQ(pic.At(x, y), RGB(0, 0, 0)) << x;
    }
}

TEST(CaptionPainter, EachLookIsPaintedOncePerSizeAndTextAndReachesTheWindow) {
    CCaptionHost host;
    ASSERT_TRUE(host.Make(60, 60, 320, 140, ""));
    ASSERT_TRUE(host.m_painter.Install(&host, WM_TEST_PAINT_CAPTION, "Setup Wizard"));
    host.SetWindowText("Setup Wizard");
    CString strText;
    host.GetWindowText(strText);
    EXPECT_STREQ(strText, "Setup Wizard") << "the text reaches the window";
    EXPECT_EQ(host.m_nPaints, 1);
    const CRect rc = host.m_painter.GetCaptionRect();
    EXPECT_EQ(rc.left, ::GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(rc.right, 320 - ::GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(rc.Height(), ::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYBORDER));
    EXPECT_EQ(host.m_painter.GetCachedSize(), CSize(rc.Width(), rc.Height()));
    const int nLook = host.m_painter.m_bActive;
    EXPECT_TRUE(host.m_painter.GetCaptionBitmap(nLook));

    // Copies only, until something changes.
    host.m_painter.PaintCaption();
    host.m_painter.PaintCaption();
    EXPECT_EQ(host.m_nPaints, 1);
    // The copy is on the window: the right end of the caption is black.
    HDC hWindow = ::GetWindowDC(host.m_hWnd);
    EXPECT_EQ(::GetPixel(hWindow, rc.right - 2, rc.top + 1), RGB(0, 0, 0));
    ::ReleaseDC(host.m_hWnd, hWindow);
    SaveArtifactScreenshot(host.m_hWnd, "widgets_caption");

    // A new text draws again; so does the other look, once.
    host.SetWindowText("Setup Wizard 2");
    EXPECT_EQ(host.m_nPaints, 2);
    EXPECT_STREQ(host.m_painter.GetCaptionText(), "Setup Wizard 2");
    host.m_painter.m_bActive = !nLook;
    host.m_painter.PaintCaption();
    host.m_painter.PaintCaption();
    EXPECT_EQ(host.m_nPaints, 3);
    EXPECT_TRUE(host.m_painter.GetCaptionBitmap(0) && host.m_painter.GetCaptionBitmap(1));

    // A size change drops both looks.
    host.SetWindowPos(nullptr, 0, 0, 260, 140, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host.m_painter.PaintCaption();
    EXPECT_EQ(host.m_nPaints, 4);
    EXPECT_EQ(host.m_painter.GetCachedSize().cx, 260 - 2 * ::GetSystemMetrics(SM_CXDLGFRAME));

    // A colour change drops the font and the cache.
    host.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(host.m_nFontDrops, 1);
    EXPECT_EQ(host.m_painter.GetCachedSize(), CSize(0, 0));
    host.m_painter.PaintCaption();
    EXPECT_EQ(host.m_nPaints, 5);

    // Nothing is drawn while minimised.
    host.ShowWindow(SW_MINIMIZE);
    host.SetWindowText("Setup Wizard");
    EXPECT_EQ(host.m_nPaints, 5);
    host.DestroyWindow();
}

TEST(CaptionPainter, ActivationFollowsTheSystemUnlessDisabled) {
    CCaptionHost host;
    ASSERT_TRUE(host.Make(0, 0, 300, 120, ""));
    host.m_painter.Install(&host, WM_TEST_PAINT_CAPTION, "Setup Wizard");
    host.m_painter.m_bActive = 0;
    EXPECT_EQ(host.SendMessage(WM_NCACTIVATE, TRUE), TRUE);
    EXPECT_EQ(host.m_painter.m_bActive, 1);
    EXPECT_TRUE(host.IsWindowVisible()) << "the style comes back";
    EXPECT_EQ(host.SendMessage(WM_NCACTIVATE, FALSE), TRUE);
    EXPECT_EQ(host.m_painter.m_bActive, 0);
    host.EnableWindow(FALSE);
    EXPECT_EQ(host.SendMessage(WM_NCACTIVATE, TRUE), TRUE);
    EXPECT_EQ(host.m_painter.m_bActive, 0) << "a disabled window is drawn inactive";
    EXPECT_EQ(host.SendMessage(WM_NCPAINT, 1), 0);
    host.DestroyWindow();
    EXPECT_FALSE(host.m_painter.IsHooked());
}

// ---- PaintPageBackground --------------------------------------------------------------------------------

namespace {

COLORREF BitmapPixel(UINT nBitmapId, int x, int y, SIZE* pSize = nullptr) {
    HBITMAP hBitmap = static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nBitmapId), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm{};
    ::GetObjectA(hBitmap, sizeof bm, &bm);
    if (pSize) *pSize = {bm.bmWidth, bm.bmHeight};
    HDC hMem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    const COLORREF c = ::GetPixel(hMem, x < 0 ? bm.bmWidth + x : x, y < 0 ? bm.bmHeight + y : y);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::DeleteObject(hBitmap);
    return c;
}

bool Near(COLORREF a, COLORREF b, int nTolerance = 24) {
    return abs(GetRValue(a) - GetRValue(b)) <= nTolerance && abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

class CBackgroundPage : public CDialog {
public:
    CBackgroundPage() : CDialog(IDD_WELCOME) {}

protected:
    afx_msg void OnPaint() { PaintPageBackground(this, IDB_WELCOME); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CBackgroundPage, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()
// clang-format on

}  // namespace

TEST(PaintPageBackground, BitmapIsStretchedOverTheWholeBackgroundStatic) {
    CHostWnd host;
    ASSERT_TRUE(host.Make(20, 20, 760, 460));
    CBackgroundPage page;
    ASSERT_TRUE(page.Create(IDD_WELCOME, &host));
    // Larger than the picture.
    page.MoveWindow(0, 0, 700, 420);
    page.GetDlgItem(IDC_PAGE_BACKGROUND)->MoveWindow(0, 0, 700, 420);
    page.ShowWindow(SW_SHOW);
    page.UpdateWindow();

    SIZE size{};
    const COLORREF topLeft = BitmapPixel(IDB_WELCOME, 1, 1, &size);
    ASSERT_LT(size.cx, 700);
    CMemoryPicture pic(760, 460);
    PaintPageBackground(&page, pic.DC(), IDB_WELCOME);
    EXPECT_TRUE(Near(pic.At(1, 1), topLeft));
    // The last used column and row of the picture land at the static's far corner.
    EXPECT_TRUE(Near(pic.At(698, 418), BitmapPixel(IDB_WELCOME, -3, -3)));
    EXPECT_TRUE(Near(pic.At(350, 210), BitmapPixel(IDB_WELCOME, size.cx / 2, size.cy / 2), 60));
    EXPECT_EQ(pic.At(700, 10), RGB(255, 0, 255)) << "nothing is painted beyond the static";
    EXPECT_EQ(pic.At(10, 420), RGB(255, 0, 255));

    // A smaller static somewhere in the page: only its rectangle is painted.
    page.GetDlgItem(IDC_PAGE_BACKGROUND)->MoveWindow(50, 40, 200, 100);
    CMemoryPicture part(300, 200);
    PaintPageBackground(&page, part.DC(), IDB_WELCOME);
    EXPECT_EQ(part.At(49, 39), RGB(255, 0, 255));
    EXPECT_EQ(part.At(250, 140), RGB(255, 0, 255));
    EXPECT_TRUE(Near(part.At(50, 40), BitmapPixel(IDB_WELCOME, 0, 0), 40));

    // The page's own paint handler puts the picture on the screen.
    page.GetDlgItem(IDC_PAGE_BACKGROUND)->MoveWindow(0, 0, 700, 420);
    page.Invalidate();
    page.UpdateWindow();
    const auto screen = ScreenPixels(page.m_hWnd, 700, 420);
    EXPECT_TRUE(Near(screen[1 * 700 + 1], topLeft));
    EXPECT_TRUE(Near(screen[418 * 700 + 698], BitmapPixel(IDB_WELCOME, -3, -3)));
    SaveArtifactScreenshot(host.m_hWnd, "widgets_page_stretched");
    page.DestroyWindow();
    host.DestroyWindow();
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    return RUN_ALL_TESTS();
}
