// CWizardDlg: the button bar and its rules, the window's region, picture and caption.
#include "WizardDlg.h"

#include "../res/art/ArtIds.h"
#include "../res/resource.h"
#include "../widgets/PaintPageBackground.h"
#include "DesktopCommands.h"
#include "WizardState.h"

namespace {

struct BarButton {
    int nId;
    UINT nBitmapId;  // 0: no picture
    bool bVisible;   // after initialisation
};

// The order of m_buttons.
const BarButton kBar[CWizardDlg::BUTTON_COUNT] = {
    {IDC_MINIMIZE, IDB_BTN_MINIMIZE, true},
    {IDC_CLOSE, IDB_BTN_CLOSE, true},
    {IDC_SETUP, IDB_BTN_SETUP, true},
    {IDC_UTILITY, IDB_BTN_DRIVELET, true},
    {IDC_USER_GUIDE, IDB_BTN_USER_GUIDE, true},
    {IDC_NEXT, IDB_BTN_NEXT, false},
    {IDC_BACK, IDB_BTN_BACK, false},
    {IDC_SAVE, IDB_BTN_SAVE, false},
    {IDC_ADVANCED, IDB_BTN_WEB_UI, false},
    {IDC_SHORTCUT, IDB_BTN_SHORTCUT, false},
    {IDC_EXIT, IDB_BTN_EXIT, true},
    {IDC_FINISH, 0, false},
};

const char kWizardTitle[] = "Setup Wizard";
const int kCornerEllipse = 40;

}  // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CWizardDlg, CWizardSheet)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_MINIMIZE, OnMinimize)
    ON_BN_CLICKED(IDC_SETUP, OnSetup)
    ON_BN_CLICKED(IDC_NEXT, OnNextButton)
    ON_BN_CLICKED(IDC_BACK, OnBackButton)
    ON_BN_CLICKED(IDC_SAVE, OnSave)
    ON_BN_CLICKED(IDC_EXIT, OnExit)
    ON_BN_CLICKED(IDC_USER_GUIDE, OnUserGuide)
    ON_BN_CLICKED(IDC_UTILITY, OnUtility)
    ON_BN_CLICKED(IDC_ADVANCED, OnAdvanced)
    ON_BN_CLICKED(IDC_SHORTCUT, OnShortcut)
    ON_MESSAGE(WM_PAINT_CAPTION, OnPaintCaption)
END_MESSAGE_MAP()
// clang-format on

CWizardDlg::CWizardDlg(CWnd* pParent) : CWizardSheet(IDD_WIZARD, pParent), m_nBitmapId(IDB_WIZARD) {
    SetPlaceholder(IDC_WIZARD_PLACEHOLDER);
}

BOOL CWizardDlg::OnInitDialog() {
    CWizardSheet::OnInitDialog();
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        m_buttons[i].SubclassDlgItem(static_cast<UINT>(kBar[i].nId), this);
        if (kBar[i].nBitmapId) m_buttons[i].LoadButtonBitmap(kBar[i].nBitmapId);
        m_buttons[i].ShowWindow(kBar[i].bVisible ? SW_SHOW : SW_HIDE);
    }
    SetDlgItemText(ID_WIZARD_SHEET_NEXT, "Setup");
    SetDlgItemText(ID_WIZARD_SHEET_BACK, "Install");
    m_captionPainter.Install(this, WM_PAINT_CAPTION, kWizardTitle);
    SetWindowText(kWizardTitle);
    return TRUE;
}

void CWizardDlg::ShowButtons(std::initializer_list<int> ids) {
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        const int nId = kBar[i].nId;
        if (nId == IDC_MINIMIZE || nId == IDC_CLOSE) continue;
        bool bShow = false;
        for (int nShown : ids) bShow = bShow || nShown == nId;
        m_buttons[i].ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    }
}

void CWizardDlg::OnPaint() {
    PaintPageBackground(this, m_nBitmapId, IDC_WIZARD_BACKGROUND);
    // The caption band lies inside the borderless window's client area: put the cached caption back over
    // the picture (a copy of its bitmap; it is drawn anew only after a text, size or colour change).
    m_captionPainter.PaintCaption();
}

void CWizardDlg::OnSize(UINT nType, int cx, int cy) {
    CWizardSheet::OnSize(nType, cx, cy);
    CRect rc;
    GetWindowRect(&rc);
    m_rgnWindow.DeleteObject();
    // The region's right and bottom edges are exclusive.
    m_rgnWindow.CreateRoundRectRgn(0, 0, rc.Width() + 1, rc.Height() + 1, kCornerEllipse, kCornerEllipse);
    SetWindowRgn(static_cast<HRGN>(m_rgnWindow.Detach()), TRUE);
}

void CWizardDlg::OnMinimize() {
    ShowWindow(SW_MINIMIZE);
}

void CWizardDlg::OnSetup() {
    ShowButtons({IDC_NEXT, IDC_BACK});
    Next();
}

void CWizardDlg::OnNextButton() {
    Next();
    if (!g_settingsRead) return;
    if (g_lastPageIndex == 3)
        ShowButtons({IDC_BACK, IDC_SAVE});
    else if (g_passwordPassed)
        ShowButtons({IDC_NEXT, IDC_BACK});
}

void CWizardDlg::OnBackButton() {
    Back();
    if (g_lastPageIndex == 1)
        ShowButtons({IDC_SETUP, IDC_UTILITY, IDC_USER_GUIDE, IDC_EXIT});
    else
        ShowButtons({IDC_NEXT, IDC_BACK});
}

void CWizardDlg::OnSave() {
    Next();
    if (g_closeAfterSave) {
        PostMessage(WM_COMMAND, IDCANCEL);
    } else if (g_redoSearch) {
        ShowButtons({IDC_NEXT, IDC_BACK});
        g_redoSearch = false;
    } else if (g_saveAttempted) {
        ShowButtons({IDC_UTILITY, IDC_EXIT});
        PostMessage(WM_COMMAND, IDC_ADVANCED);
    }
}

void CWizardDlg::OnExit() {
    PostMessage(WM_COMMAND, IDCANCEL);
}

void CWizardDlg::OnUserGuide() {
    OpenUserGuide(g_appDir);
}

void CWizardDlg::OnUtility() {
    RunUtilityInstaller(g_appDir);
}

void CWizardDlg::OnAdvanced() {
    OfferUtility(g_appDir);
}

// The shortcut is named after the appliance last read; a refused name has shown "Save failed!" already.
void CWizardDlg::OnShortcut() {
    if (!CreateDesktopShortcut(g_settings, g_iconDir)) return;
    g_noticeKind = 1;
    if (m_pfnRunNotice) m_pfnRunNotice(this);
}

LRESULT CWizardDlg::OnPaintCaption(WPARAM wParam, LPARAM lParam) {
    return m_captionPainter.PaintGradientCaption(wParam, lParam);
}
