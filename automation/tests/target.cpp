// A window with one control of each kind the scenarios use, each reporting what reached it in a static text,
// so that the driver's test can check its actions from the target's side.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <initializer_list>

#include "target_ids.h"

namespace {

int g_changes = 0;
int g_pageChanges = 0;
const UINT_PTR kLateTimer = 1;

// The page reports every change of its numeric edit, with the text that reached it, in the window's result.
INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_PAGE_NUMBER && HIWORD(wParam) == EN_CHANGE) {
        char text[64] = {}, buf[128];
        GetDlgItemTextA(page, IDC_PAGE_NUMBER, text, sizeof(text));
        snprintf(buf, sizeof(buf), "page change %d: %s", ++g_pageChanges, text);
        SetDlgItemTextA(GetParent(page), IDC_RESULT, buf);
        return TRUE;
    }
    return FALSE;
}

void SetResult(HWND dlg, const char* text) {
    SetDlgItemTextA(dlg, IDC_RESULT, text);
}

void Fill(HWND dlg) {
    HWND tree = GetDlgItem(dlg, IDC_TREE);
    const char* names[] = {"NAS1", "NAS2", "NAS3"};
    for (const char* name : names) {
        TVINSERTSTRUCTA ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(name);
        HTREEITEM item =
            reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
        if (name[3] == '2') {
            ins.hParent = item;
            ins.item.pszText = const_cast<char*>("share");
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        }
    }
    HWND list = GetDlgItem(dlg, IDC_LIST);
    const char* headers[] = {"Name", "Value"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 120;
        col.pszText = const_cast<char*>(headers[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    const char* rows[][2] = {{"IP Address", "198.18.1.10"}, {"Workgroup", "WORKGROUP"}};
    for (int r = 0; r < 2; ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(rows[r][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(rows[r][1]);
        SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
    }
    HWND combo = GetDlgItem(dlg, IDC_COMBO);
    for (const char* s : {"Red", "Green", "Blue"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
}

INT_PTR CALLBACK TargetProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    char buf[128];
    switch (msg) {
        case WM_INITDIALOG: {
            Fill(dlg);
            HWND page =
                CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TARGET_PAGE), dlg, PageProc, 0);
            RECT rc{7, 200, 0, 0};
            MapDialogRect(dlg, &rc);
            SetWindowPos(page, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return TRUE;
        }
        case WM_TIMER:
            if (wParam == kLateTimer) {
                KillTimer(dlg, kLateTimer);
                HWND late = GetDlgItem(dlg, IDC_LATE);
                ShowWindow(late, SW_SHOW);
                EnableWindow(late, TRUE);
            }
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_EDIT:
                    if (HIWORD(wParam) == EN_CHANGE) {
                        snprintf(buf, sizeof(buf), "changes: %d", ++g_changes);
                        SetDlgItemTextA(dlg, IDC_CHANGES, buf);
                    }
                    return TRUE;
                case IDC_ASK: {
                    int answer =
                        MessageBoxA(dlg, "Proceed with the test?", "Target question", MB_YESNO | MB_ICONEXCLAMATION);
                    SetResult(dlg, answer == IDYES  ? "answered yes"
                                   : answer == IDNO ? "answered no"
                                                    : "answered other");
                    return TRUE;
                }
                case IDC_ARM:
                    SetTimer(dlg, kLateTimer, 700, nullptr);
                    return TRUE;
                case IDC_LATE:
                    SetResult(dlg, "late clicked");
                    return TRUE;
                case IDC_COMBO:
                    if (HIWORD(wParam) == CBN_SELCHANGE) {
                        snprintf(buf, sizeof(buf), "combo %d",
                                 static_cast<int>(SendDlgItemMessageA(dlg, IDC_COMBO, CB_GETCURSEL, 0, 0)));
                        SetResult(dlg, buf);
                    }
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dlg, IDCANCEL);
                    return TRUE;
            }
            break;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->idFrom == IDC_TREE && (hdr->code == NM_DBLCLK || hdr->code == TVN_SELCHANGEDA)) {
                HWND tree = hdr->hwndFrom;
                HTREEITEM sel = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
                char text[64] = {};
                TVITEMA item{};
                item.mask = TVIF_TEXT;
                item.hItem = sel;
                item.pszText = text;
                item.cchTextMax = sizeof(text);
                SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
                snprintf(buf, sizeof(buf), "%s %s", hdr->code == NM_DBLCLK ? "double" : "selected", text);
                SetResult(dlg, buf);
            }
            if (hdr->idFrom == IDC_LIST && hdr->code == LVN_ITEMCHANGED) {
                auto* nm = reinterpret_cast<NMLISTVIEW*>(lParam);
                if (nm->uNewState & LVIS_SELECTED) {
                    snprintf(buf, sizeof(buf), "row %d", nm->iItem);
                    SetResult(dlg, buf);
                }
            }
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    // A hidden top-level window, as a tray utility's main window is.
    CreateWindowExA(0, "STATIC", "Driver Hidden", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_TARGET), nullptr, TargetProc, 0);
    return 0;
}
