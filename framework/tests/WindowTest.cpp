// Plain windows, the frame window and the application object under Wine: the handle map, the message
// macros with their unpacked parameters, owner-drawn controls, common controls, frame creation and the
// exit path through the application.
#include <gtest/gtest.h>

#include "WineTestSupport.h"

namespace {

// A child window whose handlers record the parameters the macros hand them.
class CProbeWnd : public CWnd {
public:
    CString m_log;
    CBrush m_brush{RGB(1, 2, 3)};

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        m_log.AppendFormat("create:%s ", lpcs->lpszName);
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) { m_log.AppendFormat("size:%u,%d,%d ", nType, cx, cy); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) { m_log.AppendFormat("down:%u,%ld,%ld ", nFlags, pt.x, pt.y); }
    afx_msg void OnMouseMove(UINT, CPoint pt) { m_log.AppendFormat("move:%ld,%ld ", pt.x, pt.y); }
    afx_msg void OnMouseHover(UINT, CPoint pt) { m_log.AppendFormat("hover:%ld,%ld ", pt.x, pt.y); }
    afx_msg void OnMouseLeave() { m_log += "leave "; }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        pDC->SetTextColor(RGB(255, 255, 255));
        m_log.AppendFormat("ctlcolor:%u,%d ", nCtlColor, pWnd != nullptr);
        return m_brush;
    }
    afx_msg BOOL OnNcActivate(BOOL bActive) {
        m_log.AppendFormat("ncactivate:%d ", bActive);
        return 42;
    }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        m_log += "paint ";
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_log.AppendFormat("timer:%u ", static_cast<unsigned>(nIDEvent)); }
    afx_msg void OnLButtonUp(UINT, CPoint pt) { m_log.AppendFormat("up:%ld,%ld ", pt.x, pt.y); }
    afx_msg void OnLButtonDblClk(UINT, CPoint pt) { m_log.AppendFormat("dblclk:%ld,%ld ", pt.x, pt.y); }
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS) {
        m_log.AppendFormat("drawitem:%d,%u ", nIDCtl, lpDIS->itemState);
    }
    afx_msg void OnNcPaint() {
        m_log += "ncpaint ";
        Default();
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        m_log.AppendFormat("erase:%d ", pDC != nullptr);
        return TRUE;
    }
    afx_msg void OnRange(UINT nID) { m_log.AppendFormat("range:%u ", nID); }
    afx_msg void OnDestroy() {
        m_log += "destroy ";
        CWnd::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_CTLCOLOR()
    ON_WM_NCACTIVATE()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_DRAWITEM()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_COMMAND_RANGE(5000, 5009, OnRange)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

}  // namespace

TEST(Window, MessageMacrosUnpackTheirParameters) {
    CTestDlg parent;
    ASSERT_TRUE(parent.Create(IDD_TEST));
    parent.ShowWindow(SW_SHOW);
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "probe", WS_VISIBLE, CRect(0, 0, 50, 30), &parent, 555));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(wnd.GetDlgCtrlID(), 555);
    wnd.m_log.Empty();
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 45));
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-5), 7));
    wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    wnd.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(8, 9));
    wnd.SendMessage(WM_MOUSELEAVE);
    HDC hdc = ::GetDC(wnd.m_hWnd);
    LRESULT brush = wnd.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                    reinterpret_cast<LPARAM>(parent.GetDlgItem(IDC_EDIT)->m_hWnd));
    EXPECT_EQ(::GetTextColor(hdc), RGB(255, 255, 255));
    ::ReleaseDC(wnd.m_hWnd, hdc);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), static_cast<HBRUSH>(wnd.m_brush));
    EXPECT_EQ(wnd.SendMessage(WM_NCACTIVATE, TRUE), 42);
    wnd.SendMessage(WM_TIMER, 100);
    wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 2));
    wnd.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 1));
    DRAWITEMSTRUCT dis = {};
    dis.CtlID = 77;
    dis.itemState = ODS_SELECTED;
    EXPECT_EQ(wnd.SendMessage(WM_DRAWITEM, 77, reinterpret_cast<LPARAM>(&dis)), TRUE);
    wnd.SendMessage(WM_COMMAND, 5003);
    wnd.SendMessage(WM_COMMAND, 5010);  // outside the range
    EXPECT_STREQ(wnd.m_log,
                 "size:0,120,45 down:1,-5,7 move:3,4 hover:8,9 leave ctlcolor:1,1 ncactivate:1 timer:100 "
                 "up:1,2 dblclk:3,1 drawitem:77,1 range:5003 ");
    wnd.m_log.Empty();
    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_NE(wnd.m_log.Find("erase:1 paint "), -1);
    wnd.m_log.Empty();
    ::RedrawWindow(wnd.m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(wnd.m_log.Find("ncpaint"), -1);
    wnd.m_log.Empty();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_STREQ(wnd.m_log, "destroy ");
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    parent.DestroyWindow();
}

TEST(Window, CreationSeesTheObjectFromTheFirstMessage) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "first", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_log.Find("create:first"), 0);
    wnd.DestroyWindow();
}

TEST(HandleMap, TemporaryObjectsAttachAndDetach) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    CWnd* temp = CWnd::FromHandle(hWnd);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp, CWnd::FromHandle(hWnd));  // one temporary per handle
    CString text;
    temp->GetWindowText(text);
    EXPECT_STREQ(text, "plain");
    AfxFreeTempMaps();
    CWnd wnd;
    EXPECT_TRUE(wnd.Attach(hWnd));
    EXPECT_FALSE(CWnd().Attach(hWnd));  // a handle belongs to one object
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    EXPECT_EQ(wnd.Detach(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    ::DestroyWindow(hWnd);
}

TEST(HandleMap, DestroyingTheObjectDestroysItsWindow) {
    HWND hWnd;
    {
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "short-lived", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

namespace {

class CDrawnButton : public CButton {
public:
    int m_nDraws = 0;
    UINT m_nCtlID = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
        ++m_nDraws;
        m_nCtlID = lpDIS->CtlID;
        CDC* pDC = CDC::FromHandle(lpDIS->hDC);
        pDC->FillSolidRect(&lpDIS->rcItem, RGB(0, 128, 0));
    }
};

class CControlsDlg : public CDialog {
public:
    CControlsDlg() : CDialog(IDD_CONTROLS) {}
    CTreeCtrl m_tree;
    CListCtrl m_list;
    CComboBox m_combo;
    CDrawnButton m_drawn;
    CString m_log;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TREE, m_tree);
        DDX_Control(pDX, IDC_LIST, m_list);
        DDX_Control(pDX, IDC_COMBO, m_combo);
        DDX_Control(pDX, IDC_DRAWN, m_drawn);
    }

protected:
    afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
        const NMTREEVIEWA* pTV = reinterpret_cast<const NMTREEVIEWA*>(pNMHDR);
        m_log.AppendFormat("sel:%d ", static_cast<int>(pTV->itemNew.lParam));
        *pResult = 0;
    }
    afx_msg void OnComboDropDown() { m_log += "dropdown "; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CControlsDlg, CDialog)
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnTreeSelChanged)
    ON_CBN_DROPDOWN(IDC_COMBO, OnComboDropDown)
END_MESSAGE_MAP()
// clang-format on

}  // namespace

TEST(Controls, TreeNotificationsComboDropDownListAndOwnerDraw) {
    CControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS));
    dlg.ShowWindow(SW_SHOW);

    CImageList images;
    ASSERT_TRUE(images.Create(30, 16, ILC_COLOR24 | ILC_MASK, 2, 4));
    CClientDC screen(&dlg);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 30, 16));
    EXPECT_EQ(images.Add(&bmp, RGB(255, 255, 255)), 0);
    EXPECT_EQ(images.GetImageCount(), 1);
    EXPECT_EQ(dlg.m_tree.SetImageList(&images, TVSIL_NORMAL), nullptr);

    HTREEITEM nas2 = dlg.m_tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "NAS2", 0, 0, 0, 0, 2, TVI_ROOT, TVI_SORT);
    HTREEITEM nas1 = dlg.m_tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "NAS1", 0, 0, 0, 0, 1, TVI_ROOT, TVI_SORT);
    EXPECT_EQ(dlg.m_tree.GetRootItem(), nas1);  // sorted insertion
    EXPECT_EQ(dlg.m_tree.GetNextSiblingItem(nas1), nas2);
    EXPECT_EQ(dlg.m_tree.GetCount(), 2u);
    dlg.m_tree.SelectItem(nas2);
    EXPECT_EQ(dlg.m_tree.GetSelectedItem(), nas2);
    EXPECT_EQ(dlg.m_tree.GetItemData(nas2), 2u);
    EXPECT_TRUE(dlg.m_tree.SetItemText(nas2, "Renamed"));
    EXPECT_STREQ(dlg.m_tree.GetItemText(nas2), "Renamed");
    dlg.m_tree.DeleteAllItems();
    EXPECT_EQ(dlg.m_tree.GetCount(), 0u);

    EXPECT_EQ(dlg.m_list.InsertColumn(0, "Item", LVCFMT_LEFT, 60), 0);
    EXPECT_EQ(dlg.m_list.InsertColumn(1, "Value", LVCFMT_LEFT, 100), 1);
    EXPECT_EQ(dlg.m_list.InsertItem(0, "Server Name"), 0);
    EXPECT_TRUE(dlg.m_list.SetItemText(0, 1, "NAS1"));
    EXPECT_STREQ(dlg.m_list.GetItemText(0, 0), "Server Name");
    EXPECT_STREQ(dlg.m_list.GetItemText(0, 1), "NAS1");
    EXPECT_EQ(dlg.m_list.GetItemCount(), 1);

    dlg.m_combo.AddString("WORKGROUP");
    dlg.m_combo.AddString("HOME");
    CString first;
    dlg.m_combo.GetLBText(0, first);
    EXPECT_STREQ(first, "HOME");  // the template's box is sorted
    EXPECT_EQ(dlg.m_combo.FindStringExact(-1, "WORKGROUP"), 1);
    dlg.m_combo.ShowDropDown(TRUE);
    dlg.m_combo.ShowDropDown(FALSE);

    EXPECT_STREQ(dlg.m_log, "sel:2 dropdown ");

    CComboBoxEx drives;
    ASSERT_TRUE(drives.SubclassDlgItem(IDC_COMBOEX, &dlg));
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = -1;
    item.pszText = const_cast<LPSTR>("Z:");
    EXPECT_EQ(drives.InsertItem(&item), 0);
    item.pszText = const_cast<LPSTR>("Y:");
    EXPECT_EQ(drives.InsertItem(&item), 1);
    EXPECT_EQ(drives.GetCount(), 2);
    drives.SetCurSel(1);
    EXPECT_EQ(drives.GetCurSel(), 1);
    CString drive;
    drives.GetLBText(1, drive);
    EXPECT_STREQ(drive, "Y:");
    drives.GetLBText(5, drive);
    EXPECT_STREQ(drive, "");
    drives.DeleteItem(0);
    EXPECT_EQ(drives.GetCount(), 1);
    drives.ResetContent();
    EXPECT_EQ(drives.GetCount(), 0);

    dlg.m_drawn.m_nDraws = 0;
    ::RedrawWindow(dlg.m_drawn.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(dlg.m_drawn.m_nDraws, 1);
    EXPECT_EQ(dlg.m_drawn.m_nCtlID, static_cast<UINT>(IDC_DRAWN));
    dlg.DestroyWindow();
}

namespace {

bool g_frameDeleted;

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)

public:
    ~CTestFrame() override { g_frameDeleted = true; }
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override {
        if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
        cs.lpszName = "Framework Test Frame";
        return TRUE;
    }
    int m_nCreates = 0;
    int m_nPosted = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
        ++m_nCreates;
        PostMessage(WM_TEST_USER);
        return 0;
    }
    afx_msg LRESULT OnPosted(WPARAM, LPARAM) {
        ++m_nPosted;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_TEST_USER, OnPosted)
END_MESSAGE_MAP()
// clang-format on

}  // namespace

TEST(Frame, HiddenMainFrameRoutesCommandsAndEndsTheApplication) {
    g_frameDeleted = false;
    CObject* pObject = RUNTIME_CLASS(CTestFrame)->CreateObject();
    ASSERT_NE(pObject, nullptr);
    EXPECT_STREQ(pObject->GetRuntimeClass()->m_lpszClassName, "CTestFrame");
    ASSERT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    CTestFrame* pFrame = static_cast<CTestFrame*>(pObject);
    ASSERT_TRUE(pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    theApp.m_pMainWnd = pFrame;
    EXPECT_EQ(AfxGetMainWnd(), pFrame);
    EXPECT_EQ(pFrame->m_nCreates, 1);
    EXPECT_FALSE(pFrame->IsWindowVisible());
    EXPECT_EQ(pFrame->GetStyle() & FWS_ADDTOTITLE, 0u);
    EXPECT_EQ(CWnd::FindWindow(nullptr, "Framework Test Frame"), pFrame);
    AfxPumpPendingMessages();
    EXPECT_EQ(pFrame->m_nPosted, 1);

    int before = theApp.m_nAbout;
    pFrame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(theApp.m_nAbout, before + 1);

    pFrame->SendMessage(WM_COMMAND, ID_APP_EXIT);  // the application closes its main window
    EXPECT_TRUE(g_frameDeleted);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(CWnd::FindWindow(nullptr, "Framework Test Frame"), nullptr);
    MSG quit;
    ASSERT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST(App, RunEndsWithTheQuitCodeThroughExitInstance) {
    EXPECT_STREQ(theApp.m_pszAppName, "Framework Tests");
    EXPECT_STREQ(AfxGetAppName(), "Framework Tests");
    EXPECT_STRNE(theApp.m_pszExeName, "");
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_TRUE(theApp.Enable3dControlsStatic());
    ::PostQuitMessage(3);
    EXPECT_EQ(theApp.Run(), 3);
    CString loaded;
    EXPECT_TRUE(loaded.LoadString(IDS_COMM_ERROR));
    EXPECT_EQ(loaded.Find('\n'), 20);
    ASSERT_TRUE(loaded.LoadString(IDS_LONG));
    EXPECT_EQ(loaded.GetLength(), 600);
    EXPECT_STREQ(loaded.Right(10), "0123456789");
    EXPECT_FALSE(loaded.LoadString(9999));
    EXPECT_TRUE(loaded.IsEmpty());
    EXPECT_NE(theApp.LoadStandardIcon(MAKEINTRESOURCEA(32515)), nullptr);  // IDI_EXCLAMATION
}

TEST(WaitCursor, NestedWaitCursorsRestoreTheCursorOnce) {
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    HCURSOR wait = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));
    ::SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(::GetCursor(), wait);
        EXPECT_TRUE(CWaitCursor::IsWaiting());
        {
            CWaitCursor inner;
            ::SetCursor(arrow);  // something else changed it meanwhile
        }
        EXPECT_TRUE(CWaitCursor::IsWaiting());
        CWaitCursor::Restore();
        EXPECT_EQ(::GetCursor(), wait);
    }
    EXPECT_FALSE(CWaitCursor::IsWaiting());
    EXPECT_EQ(::GetCursor(), arrow);
}

TEST(WaitCursor, LibraryWindowsKeepTheHourglassWhenTheMouseMoves) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST));
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    HCURSOR wait = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));
    {
        CWaitCursor busy;
        ::SetCursor(arrow);
        EXPECT_TRUE(
            dlg.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(::GetCursor(), wait);
    }
    dlg.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::GetCursor(), wait);  // the window's own cursor again
    dlg.DestroyWindow();
}
