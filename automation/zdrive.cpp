// zdrive: the automation driver of the end-to-end scenarios. A console program run under Wine beside the programs
// under test; it acts on their windows as a user would (clicks, keystrokes delivered as window messages) and reads
// back what the windows show, across processes.
//
// Protocol on stdin/stdout, one request a line: the command and its arguments separated by tabs; one answer a
// line: "ok" or "err", a tab, and the result (fields separated by tabs). In texts, \t \n \\ stand for tab, newline
// and backslash. Windows are named by their handle in hex. See automation/zdrive.py for the commands.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "RemoteBuffer.h"
#include "Screenshot.h"
#include "TextCodec.h"

namespace {

using Args = std::vector<std::string>;

struct Reply {
    bool ok;
    std::string text;
};

Reply Ok(const std::string& text = "") {
    return {true, text};
}
Reply Err(const std::string& text) {
    return {false, text};
}

std::string Hex(HWND h) {
    char buf[32];
    snprintf(buf, sizeof(buf), "%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h)));
    return buf;
}

HWND ParseHwnd(const std::string& s) {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(strtoull(s.c_str(), nullptr, 16)));
}

// Texts travel as UTF-8 on the protocol; the programs under test are ANSI programs.
std::string Utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(strlen(s.c_str()));
    return s;
}

std::wstring Wide(const std::string& s, UINT codePage = CP_UTF8) {
    int n = MultiByteToWideChar(codePage, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(codePage, 0, s.c_str(), -1, w.data(), n);
    w.resize(wcslen(w.c_str()));
    return w;
}

std::string AnsiToUtf8(const std::string& s) {
    return Utf8(Wide(s, CP_ACP));
}

std::string WindowText(HWND h) {
    // WM_GETTEXT is marshalled between processes; GetWindowText would not ask a window of another process.
    LRESULT len = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring w(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = SendMessageW(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()));
    w.resize(static_cast<size_t>(got));
    return Utf8(w);
}

std::string ClassOf(HWND h) {
    char buf[256] = {};
    GetClassNameA(h, buf, sizeof(buf));
    return buf;
}

// Waits until the window's thread takes its next message. A sent message is handled before anything posted, so
// this alone does not prove that a posted message was handled: it is only the last step after Deliver or after a
// change the caller has seen. Any message loop of that thread answers it, a message box's included.
bool Sync(HWND h, UINT timeoutMs = 5000) {
    DWORD_PTR result;
    return SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

DWORD Now() {
    return GetTickCount();
}

// The visible top-level windows of one thread: a handler that opened a modal window has added one.
BOOL CALLBACK CollectThreadWindow(HWND h, LPARAM lp) {
    if (IsWindowVisible(h)) reinterpret_cast<std::set<HWND>*>(lp)->insert(h);
    return TRUE;
}

std::set<HWND> ThreadWindows(DWORD thread) {
    std::set<HWND> out;
    EnumThreadWindows(thread, CollectThreadWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

// Deliveries whose handlers have returned; one that opened a modal window completes long after its answer.
std::set<ULONG_PTR> g_delivered;
ULONG_PTR g_nextDelivery = 0;

VOID CALLBACK OnDelivered(HWND, UINT, ULONG_PTR delivery, LRESULT) {
    g_delivered.insert(delivery);
}

enum class Delivery { Handled, OpenedWindow, NoAnswer };

// Sends a message as a user's action reaches a control, without holding the driver: the answer comes when the
// target's handler has returned, or as soon as it has opened a modal window (a message box, a dialog) of its
// thread, whose loop then runs inside the handler. Completions arrive as callbacks while this thread pumps.
Delivery Deliver(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, DWORD timeoutMs = 15000) {
    DWORD pid = 0;
    DWORD thread = GetWindowThreadProcessId(h, &pid);
    std::set<HWND> before = ThreadWindows(thread);
    g_delivered.clear();  // late completions of earlier deliveries, which nobody waits for any more
    ULONG_PTR delivery = ++g_nextDelivery;
    if (!SendMessageCallbackW(h, msg, wParam, lParam, OnDelivered, delivery)) return Delivery::NoAnswer;
    DWORD start = Now();
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        if (g_delivered.erase(delivery)) return Delivery::Handled;
        for (HWND w : ThreadWindows(thread))
            if (!before.count(w)) return Delivery::OpenedWindow;
        if (!IsWindow(h) && !ThreadWindows(thread).size()) return Delivery::Handled;  // the program has ended
        if (Now() - start >= timeoutMs) return Delivery::NoAnswer;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Posted mouse input has no completion: wait until its effect shows, then for the thread's next message.
bool WaitFor(const std::function<bool()>& done, HWND h, DWORD timeoutMs = 5000) {
    DWORD start = Now();
    while (!done()) {
        if (!IsWindow(h) || Now() - start >= timeoutMs) return false;
        Sleep(10);
    }
    return Sync(h);
}

struct FoundWindows {
    std::string title;
    std::string cls;
    bool hiddenToo;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<FoundWindows*>(lp);
    if (!f->hiddenToo && !IsWindowVisible(h)) return TRUE;
    if (!f->cls.empty() && ClassOf(h) != f->cls) return TRUE;
    if (!f->title.empty() && WindowText(h) != f->title) return TRUE;
    f->found.push_back(h);
    return TRUE;
}

std::vector<HWND> FindTopLevel(const std::string& title, const std::string& cls, bool hiddenToo = false) {
    FoundWindows f{title, cls, hiddenToo, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

bool IsReady(HWND h) {
    return IsWindowVisible(h) && IsWindowEnabled(h);
}

struct ChildSearch {
    HWND parent;
    int id;
    bool direct;  // only the parent's own children
    bool ready;   // only a visible, enabled control counts
    HWND visible = nullptr;
    HWND any = nullptr;
};

BOOL CALLBACK FindChild(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(h) != s->id) return TRUE;
    if (s->direct && GetAncestor(h, GA_PARENT) != s->parent) return TRUE;
    if (s->ready && !IsReady(h)) return TRUE;
    if (!s->any) s->any = h;
    if (IsWindowVisible(h)) {
        s->visible = h;
        return FALSE;
    }
    return TRUE;
}

// A control by id below a window (the wizard's controls sit on child-dialog pages, and ids repeat across pages
// and the button bar); a visible one wins. With direct, only the window's own children count.
HWND Descendant(HWND parent, int id, bool direct = false, bool ready = false) {
    ChildSearch s{parent, id, direct, ready};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.visible ? s.visible : s.any;
}

// Waits up to timeoutMs until the window is shown and enabled: a button a handler shows after a page change.
bool WaitReady(HWND h, DWORD timeoutMs) {
    DWORD start = Now();
    while (!IsReady(h)) {
        if (!IsWindow(h) || Now() - start >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool IsMessageBox(HWND h) {
    // A message box is a dialog with its text in a static of id 0xFFFF and its icon in a static of id 0x440
    // (Wine) or 20 (Windows). The icon test matters: every DIALOG template's IDC_STATIC labels have id 0xFFFF.
    if (ClassOf(h) != "#32770" || !GetDlgItem(h, 0xFFFF)) return false;
    return GetDlgItem(h, 0x440) != nullptr || GetDlgItem(h, 20) != nullptr;
}

// ---- tree views ------------------------------------------------------------------------------------------------

struct TreeItem {
    HTREEITEM item;
    int depth;
    std::string text;
    bool selected;
};

void ReadTree(HWND tree, RemoteBuffer& mem, HTREEITEM first, int depth, std::vector<TreeItem>& out) {
    HTREEITEM selected = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    for (HTREEITEM it = first; it; it = reinterpret_cast<HTREEITEM>(
                                       SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(it)))) {
        TVITEMA item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = it;
        item.pszText = reinterpret_cast<char*>(mem.Remote() + sizeof(TVITEMA));
        item.cchTextMax = 512;
        mem.Write(&item, sizeof(item));
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(mem.Remote()));
        out.push_back({it, depth, AnsiToUtf8(mem.ReadString(sizeof(TVITEMA), 512)), it == selected});
        HTREEITEM child =
            reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(it)));
        if (child) ReadTree(tree, mem, child, depth + 1, out);
    }
}

bool TreeItems(HWND tree, std::vector<TreeItem>& out, std::string& error) {
    RemoteBuffer mem(tree, sizeof(TVITEMA) + 512);
    if (!mem.Valid()) {
        error = "cannot reach the tree's process";
        return false;
    }
    HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ReadTree(tree, mem, root, 0, out);
    return true;
}

const TreeItem* FindItem(const std::vector<TreeItem>& items, const std::string& text) {
    for (const TreeItem& i : items)
        if (i.text == text) return &i;
    return nullptr;
}

// ---- commands --------------------------------------------------------------------------------------------------

Reply CmdWindows(const Args&) {
    std::string out;
    for (HWND h : FindTopLevel("", "")) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        out += (out.empty() ? "" : "\t") + Hex(h) + " " + std::to_string(pid) + " " + ClassOf(h) + " " +
               Escape(WindowText(h));
    }
    return Ok(out);
}

// find TITLE [CLASS] [TIMEOUT_MS] [hidden]: the first visible top-level window with that title (empty: any) and
// class; with "hidden", hidden windows too (a tray utility's main window).
Reply CmdFind(const Args& a) {
    if (a.empty()) return Err("find TITLE [CLASS] [TIMEOUT_MS] [hidden]");
    std::string cls = a.size() > 1 ? a[1] : "";
    DWORD timeout = a.size() > 2 ? strtoul(a[2].c_str(), nullptr, 10) : 0;
    bool hiddenToo = a.size() > 3 && a[3] == "hidden";
    DWORD start = Now();
    for (;;) {
        std::vector<HWND> found = FindTopLevel(a[0], cls, hiddenToo);
        if (!found.empty()) return Ok(Hex(found.front()));
        if (Now() - start >= timeout) return Err("no window titled '" + a[0] + "'");
        Sleep(50);
    }
}

Reply CmdCount(const Args& a) {
    if (a.empty()) return Err("count TITLE [CLASS] [hidden]");
    return Ok(std::to_string(FindTopLevel(a[0], a.size() > 1 ? a[1] : "", a.size() > 2 && a[2] == "hidden").size()));
}

// gone HWND TIMEOUT_MS: waits until the window no longer exists or is hidden.
Reply CmdGone(const Args& a) {
    if (a.size() < 2) return Err("gone HWND TIMEOUT_MS");
    HWND h = ParseHwnd(a[0]);
    DWORD timeout = strtoul(a[1].c_str(), nullptr, 10), start = Now();
    while (IsWindow(h) && IsWindowVisible(h)) {
        if (Now() - start >= timeout) return Err("window still shown");
        Sleep(50);
    }
    return Ok();
}

// child HWND ID [TIMEOUT_MS] [FLAGS]: a control by id below HWND. FLAGS, comma-separated: "direct" (only HWND's
// own children, e.g. the wizard's bar buttons rather than a page's control of the same id), "ready" (only a
// visible, enabled control; with a timeout, waits for one).
Reply CmdChild(const Args& a) {
    if (a.size() < 2) return Err("child HWND ID [TIMEOUT_MS] [FLAGS]");
    HWND parent = ParseHwnd(a[0]);
    int id = atoi(a[1].c_str());
    DWORD timeout = a.size() > 2 ? strtoul(a[2].c_str(), nullptr, 10) : 0;
    std::string flags = "," + (a.size() > 3 ? a[3] : std::string()) + ",";
    bool direct = flags.find(",direct,") != std::string::npos;
    bool ready = flags.find(",ready,") != std::string::npos;
    DWORD start = Now();
    for (;;) {
        if (!IsWindow(parent)) return Err("no such window");
        if (HWND h = Descendant(parent, id, direct, ready)) return Ok(Hex(h));
        if (Now() - start >= timeout)
            return Err(std::string(ready ? "no shown, enabled control " : "no control ") + a[1]);
        Sleep(20);
    }
}

// parent HWND: the window a control sits on (a page of the wizard), for searches within that page.
Reply CmdParent(const Args& a) {
    if (a.empty()) return Err("parent HWND");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    HWND parent = GetAncestor(h, GA_PARENT);
    if (!parent || parent == GetDesktopWindow()) return Err("a top-level window");
    return Ok(Hex(parent));
}

Reply CmdState(const Args& a) {
    if (a.empty()) return Err("state HWND");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    RECT rc;
    GetWindowRect(h, &rc);
    char buf[128];
    snprintf(buf, sizeof(buf), "%d\t%d\t%ld\t%ld\t%ld\t%ld", IsWindowVisible(h) ? 1 : 0, IsWindowEnabled(h) ? 1 : 0,
             rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return Ok(buf);
}

Reply CmdText(const Args& a) {
    if (a.empty()) return Err("text HWND");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    return Ok(Escape(WindowText(h)));
}

Reply CmdSetText(const Args& a) {
    if (a.size() < 2) return Err("settext HWND TEXT");
    HWND h = ParseHwnd(a[0]);
    SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(a[1]).c_str()));
    return Ok();
}

// click HWND [WAIT_MS]: a button press as the mouse gives it, once the button is shown and enabled (waiting up
// to WAIT_MS for it: a handler may show it a moment after the page it belongs to). Posted, so that a click that
// opens a modal window does not hold the driver; the answer comes once the button's handler has returned or has
// opened a modal window.
Reply CmdClick(const Args& a) {
    if (a.empty()) return Err("click HWND [WAIT_MS]");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    DWORD wait = a.size() > 1 ? strtoul(a[1].c_str(), nullptr, 10) : 0;
    if (!WaitReady(h, wait)) return Err("button is hidden or disabled");
    // Compatible with the old posted click: an answer that takes longer than the wait is no error.
    Deliver(h, BM_CLICK, 0, 0);
    return Ok();
}

// type HWND TEXT: one WM_CHAR a character, each handled before the next (or until the message box it raised),
// as keys typed one after another.
Reply CmdType(const Args& a) {
    if (a.size() < 2) return Err("type HWND TEXT");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    for (wchar_t c : Wide(a[1])) {
        if (Deliver(h, WM_CHAR, c, 1) == Delivery::NoAnswer) return Err("window stopped answering");
    }
    return Ok();
}

// key HWND VK: a key press (down and up) on a window, e.g. 13 for Enter, 46 for Delete. Posted, so that the
// dialog manager sees Enter and Esc; nothing shows when it has been handled, so the caller waits for its effect.
Reply CmdKey(const Args& a) {
    if (a.size() < 2) return Err("key HWND VK");
    HWND h = ParseHwnd(a[0]);
    WPARAM vk = strtoul(a[1].c_str(), nullptr, 10);
    PostMessageA(h, WM_KEYDOWN, vk, 1);
    PostMessageA(h, WM_KEYUP, vk, 0xC0000001);
    Sync(h);
    return Ok();
}

// select-all HWND then type replaces an edit's text the way a user does it.
Reply CmdSelectAll(const Args& a) {
    if (a.empty()) return Err("selectall HWND");
    HWND h = ParseHwnd(a[0]);
    SendMessageA(h, EM_SETSEL, 0, -1);
    return Ok();
}

// The driver's own window, the owner of what it puts on the clipboard (an ownerless clipboard takes no data).
HWND ClipboardOwner() {
    static HWND owner = CreateWindowExA(0, "STATIC", "zdrive clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    return owner;
}

bool PutOnClipboard(const std::wstring& text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!mem) return false;
    memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    if (!OpenClipboard(ClipboardOwner())) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    CloseClipboard();
    if (!ok) GlobalFree(mem);
    return ok;
}

// paste HWND TEXT: the text on the clipboard and WM_PASTE posted to the edit, as a user's Ctrl+V or the
// context menu's Paste gives it: the whole text arrives at once, past the edit's character filter (ES_NUMBER).
Reply CmdPaste(const Args& a) {
    if (a.size() < 2) return Err("paste HWND TEXT");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    if (!PutOnClipboard(Wide(a[1]))) return Err("cannot put the text on the clipboard");
    if (Deliver(h, WM_PASTE, 0, 0) == Delivery::NoAnswer) return Err("window stopped answering");
    return Ok();
}

Reply CmdTree(const Args& a) {
    if (a.empty()) return Err("tree HWND");
    std::vector<TreeItem> items;
    std::string error;
    if (!TreeItems(ParseHwnd(a[0]), items, error)) return Err(error);
    std::string out;
    for (const TreeItem& i : items)
        out += (out.empty() ? "" : "\t") + std::to_string(i.depth) + (i.selected ? "*" : " ") + Escape(i.text);
    return Ok(out);
}

// treeselect HWND TEXT [dbl]: selects the item (as a click on it does); with "dbl", double-clicks it.
Reply CmdTreeSelect(const Args& a) {
    if (a.size() < 2) return Err("treeselect HWND TEXT [dbl]");
    HWND tree = ParseHwnd(a[0]);
    std::vector<TreeItem> items;
    std::string error;
    if (!TreeItems(tree, items, error)) return Err(error);
    const TreeItem* item = FindItem(items, a[1]);
    if (!item) return Err("no item '" + a[1] + "'");
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item->item));
    RemoteBuffer mem(tree, sizeof(RECT));
    RECT rc{};
    memcpy(&rc, &item->item, sizeof(HTREEITEM));  // TVM_GETITEMRECT takes the item in the rectangle's place
    mem.Write(&rc, sizeof(rc));
    if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(mem.Remote())))
        return Err("item not on screen");
    mem.Read(&rc, 0, sizeof(rc));
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tree, WM_LBUTTONUP, 0, at);
    if (a.size() > 2 && a[2] == "dbl") {
        PostMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(tree, WM_LBUTTONUP, 0, at);
    }
    // A posted barrier whose handling shows: a changed scroll time (it paces only auto-scrolling), put back after.
    // One less, not more: the control may cap it.
    LRESULT scrollTime = SendMessageA(tree, TVM_GETSCROLLTIME, 0, 0);
    PostMessageA(tree, TVM_SETSCROLLTIME, static_cast<WPARAM>(scrollTime > 1 ? scrollTime - 1 : 2), 0);
    bool handled =
        WaitFor([tree, scrollTime] { return SendMessageA(tree, TVM_GETSCROLLTIME, 0, 0) != scrollTime; }, tree);
    SendMessageA(tree, TVM_SETSCROLLTIME, static_cast<WPARAM>(scrollTime), 0);
    if (!handled) return Err("the tree did not take the clicks");
    if (reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) != item->item)
        return Err("the item was not selected");
    return Ok();
}

// treecount HWND: how many items a tree view holds, without reading them (cheap enough to poll a large tree).
Reply CmdTreeCount(const Args& a) {
    if (a.empty()) return Err("treecount HWND");
    return Ok(std::to_string(SendMessageA(ParseHwnd(a[0]), TVM_GETCOUNT, 0, 0)));
}

// list HWND: the rows of a report list view, columns separated by " | ".
Reply CmdList(const Args& a) {
    if (a.empty()) return Err("list HWND");
    HWND list = ParseHwnd(a[0]);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteBuffer mem(list, sizeof(LVITEMA) + 512);
    if (!mem.Valid()) return Err("cannot reach the list's process");
    std::string out;
    for (int r = 0; r < rows; ++r) {
        std::string row;
        for (int c = 0; c < (columns > 0 ? columns : 1); ++c) {
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = reinterpret_cast<char*>(mem.Remote() + sizeof(LVITEMA));
            item.cchTextMax = 512;
            mem.Write(&item, sizeof(item));
            SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(mem.Remote()));
            row += (c ? " | " : "") + AnsiToUtf8(mem.ReadString(sizeof(LVITEMA), 512));
        }
        bool selected = SendMessageA(list, LVM_GETITEMSTATE, r, LVIS_SELECTED) & LVIS_SELECTED;
        out += (out.empty() ? "" : "\t") + std::string(selected ? "*" : " ") + Escape(row);
    }
    return Ok(out);
}

// listselect HWND ROW: selects a row as a click does (the list's parent is told through LVN_ITEMCHANGED).
Reply CmdListSelect(const Args& a) {
    if (a.size() < 2) return Err("listselect HWND ROW");
    HWND list = ParseHwnd(a[0]);
    int row = atoi(a[1].c_str());
    RemoteBuffer mem(list, sizeof(RECT));
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    mem.Write(&rc, sizeof(rc));
    if (!SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(mem.Remote()))) return Err("no such row");
    mem.Read(&rc, 0, sizeof(rc));
    LPARAM at = MAKELPARAM(rc.left + 4, (rc.top + rc.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    if (!WaitFor(
            [list, row] { return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0; },
            list))
        return Err("the row was not selected");
    return Ok();
}

// combo HWND: the items of a combo box (or ComboBoxEx), the selected one marked with *.
Reply CmdCombo(const Args& a) {
    if (a.empty()) return Err("combo HWND");
    HWND combo = ParseHwnd(a[0]);
    if (ClassOf(combo) == WC_COMBOBOXEXA)
        combo = reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETCOMBOCONTROL, 0, 0));
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    int sel = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    std::string out;
    for (int i = 0; i < count; ++i) {
        // Asked in UTF-16: Wine hands CB_GETLBTEXT between processes as wide text whatever the caller's width.
        LRESULT len = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring w(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(w.data()));
        w.resize(wcslen(w.c_str()));
        std::string s = Utf8(w);
        out += (out.empty() ? "" : "\t") + std::string(i == sel ? "*" : " ") + Escape(s);
    }
    return Ok(out);
}

// comboselect HWND INDEX: a choice from the drop-down list, which tells the parent CBN_SELCHANGE as a user's does.
Reply CmdComboSelect(const Args& a) {
    if (a.size() < 2) return Err("comboselect HWND INDEX");
    HWND target = ParseHwnd(a[0]);
    HWND combo = target;
    if (ClassOf(target) == WC_COMBOBOXEXA)
        combo = reinterpret_cast<HWND>(SendMessageA(target, CBEM_GETCOMBOCONTROL, 0, 0));
    int index = atoi(a[1].c_str());
    if (SendMessageA(combo, CB_SETCURSEL, index, 0) == CB_ERR) return Err("no such item");
    HWND parent = GetParent(target);
    Deliver(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), CBN_SELCHANGE), reinterpret_cast<LPARAM>(target));
    return Ok();
}

// msgbox [TIMEOUT_MS]: the first message box shown: its handle, caption and text.
Reply CmdMsgBox(const Args& a) {
    DWORD timeout = a.empty() ? 0 : strtoul(a[0].c_str(), nullptr, 10), start = Now();
    for (;;) {
        for (HWND h : FindTopLevel("", "#32770")) {
            if (IsMessageBox(h))
                return Ok(Hex(h) + "\t" + Escape(WindowText(h)) + "\t" + Escape(WindowText(GetDlgItem(h, 0xFFFF))));
        }
        if (Now() - start >= timeout) return Err("no message box");
        Sleep(50);
    }
}

// answer HWND BUTTON_ID: presses a message box's button (1 OK, 2 Cancel, 6 Yes, 7 No).
Reply CmdAnswer(const Args& a) {
    if (a.size() < 2) return Err("answer HWND BUTTON_ID");
    HWND box = ParseHwnd(a[0]);
    HWND button = GetDlgItem(box, atoi(a[1].c_str()));
    if (!button) return Err("the box has no button " + a[1]);
    HWND owner = GetWindow(box, GW_OWNER);
    DWORD thread = GetWindowThreadProcessId(box, nullptr);
    Deliver(button, BM_CLICK, 0, 0, 5000);
    // The code after the MessageBox call runs once the box is gone: wait for that, then for the thread's next
    // message, which it takes when that code is done (a field emptied after a range message, say).
    DWORD start = Now();
    while (IsWindow(box)) {
        if (Now() - start >= 5000) return Err("the box is still open");
        Sleep(10);
    }
    if (!owner || !IsWindow(owner)) {
        std::set<HWND> windows = ThreadWindows(thread);
        owner = windows.empty() ? nullptr : *windows.begin();
    }
    if (owner) Sync(owner);
    return Ok();
}

// screenshot PATH [HWND]: a BMP of the screen or of one window.
Reply CmdScreenshot(const Args& a) {
    if (a.empty()) return Err("screenshot PATH [HWND]");
    HWND h = a.size() > 1 ? ParseHwnd(a[1]) : nullptr;
    return SaveScreenshot(h, a[0].c_str()) ? Ok() : Err("cannot write " + a[0]);
}

// post HWND MSG WPARAM LPARAM: a raw message, for what no command above covers (e.g. WM_CLOSE).
Reply CmdPost(const Args& a) {
    if (a.size() < 4) return Err("post HWND MSG WPARAM LPARAM");
    HWND h = ParseHwnd(a[0]);
    PostMessageA(h, strtoul(a[1].c_str(), nullptr, 0), strtoull(a[2].c_str(), nullptr, 0),
                 strtoll(a[3].c_str(), nullptr, 0));
    Sync(h);
    return Ok();
}

const std::map<std::string, std::function<Reply(const Args&)>>& Commands() {
    static const std::map<std::string, std::function<Reply(const Args&)>> commands = {
        {"windows", CmdWindows},
        {"find", CmdFind},
        {"count", CmdCount},
        {"gone", CmdGone},
        {"child", CmdChild},
        {"parent", CmdParent},
        {"state", CmdState},
        {"paste", CmdPaste},
        {"text", CmdText},
        {"settext", CmdSetText},
        {"click", CmdClick},
        {"type", CmdType},
        {"key", CmdKey},
        {"selectall", CmdSelectAll},
        {"tree", CmdTree},
        {"treeselect", CmdTreeSelect},
        {"treecount", CmdTreeCount},
        {"list", CmdList},
        {"listselect", CmdListSelect},
        {"combo", CmdCombo},
        {"comboselect", CmdComboSelect},
        {"msgbox", CmdMsgBox},
        {"answer", CmdAnswer},
        {"screenshot", CmdScreenshot},
        {"post", CmdPost},
    };
    return commands;
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    printf("ok\tzdrive ready\n");
    char line[65536];
    while (fgets(line, sizeof(line), stdin)) {
        std::string request(line);
        while (!request.empty() && (request.back() == '\n' || request.back() == '\r')) request.pop_back();
        Args args = SplitFields(request);
        if (args.empty()) continue;
        std::string name = args.front();
        args.erase(args.begin());
        if (name == "quit") break;
        auto it = Commands().find(name);
        Reply r = it == Commands().end() ? Err("unknown command " + name) : it->second(args);
        printf("%s\t%s\n", r.ok ? "ok" : "err", r.text.c_str());
    }
    return 0;
}
