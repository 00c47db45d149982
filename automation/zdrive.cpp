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

Reply Ok(const std::string& text = "") { return {true, text}; }
Reply Err(const std::string& text) { return {false, text}; }

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

std::string AnsiToUtf8(const std::string& s) { return Utf8(Wide(s, CP_ACP)); }

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

// Waits until the window's thread has handled everything posted to it so far. A sent message is handled by any
// message loop of that thread, a message box's included, so this returns even when a posted click opened one.
bool Sync(HWND h, UINT timeoutMs = 5000) {
    DWORD_PTR result;
    return SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

DWORD Now() { return GetTickCount(); }

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

struct ChildSearch {
    int id;
    HWND visible = nullptr;
    HWND any = nullptr;
};

BOOL CALLBACK FindChild(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(h) != s->id) return TRUE;
    if (!s->any) s->any = h;
    if (IsWindowVisible(h)) {
        s->visible = h;
        return FALSE;
    }
    return TRUE;
}

// A control by id anywhere below a window (the wizard's controls sit on child-dialog pages); a visible one wins.
HWND Descendant(HWND parent, int id) {
    ChildSearch s{id};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.visible ? s.visible : s.any;
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
    for (HTREEITEM it = first; it;
         it = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(it)))) {
        TVITEMA item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = it;
        item.pszText = reinterpret_cast<char*>(mem.Remote() + sizeof(TVITEMA));
        item.cchTextMax = 512;
        mem.Write(&item, sizeof(item));
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(mem.Remote()));
        out.push_back({it, depth, AnsiToUtf8(mem.ReadString(sizeof(TVITEMA), 512)), it == selected});
        HTREEITEM child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(it)));
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

Reply CmdChild(const Args& a) {
    if (a.size() < 2) return Err("child HWND ID");
    HWND h = Descendant(ParseHwnd(a[0]), atoi(a[1].c_str()));
    return h ? Ok(Hex(h)) : Err("no control " + a[1]);
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

// click HWND: a button press as the mouse gives it. Posted, so that a click that opens a modal window does not
// hold the driver; the answer comes once the button's thread has handled it.
Reply CmdClick(const Args& a) {
    if (a.empty()) return Err("click HWND");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    if (!IsWindowVisible(h) || !IsWindowEnabled(h)) return Err("button is hidden or disabled");
    PostMessageA(h, BM_CLICK, 0, 0);
    Sync(h);
    return Ok();
}

// type HWND TEXT: one WM_CHAR a character, each handled before the next, as keys typed one after another.
Reply CmdType(const Args& a) {
    if (a.size() < 2) return Err("type HWND TEXT");
    HWND h = ParseHwnd(a[0]);
    if (!IsWindow(h)) return Err("no such window");
    for (wchar_t c : Wide(a[1])) {
        PostMessageW(h, WM_CHAR, c, 1);
        if (!Sync(h)) return Err("window stopped answering");
    }
    return Ok();
}

// key HWND VK: a key press (down and up) on a window, e.g. 13 for Enter, 46 for Delete.
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
    Sync(tree);
    return Ok();
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
    Sync(list);
    return Ok();
}

// combo HWND: the items of a combo box (or ComboBoxEx), the selected one marked with *.
Reply CmdCombo(const Args& a) {
    if (a.empty()) return Err("combo HWND");
    HWND combo = ParseHwnd(a[0]);
    if (ClassOf(combo) == WC_COMBOBOXEXA) combo = reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETCOMBOCONTROL, 0, 0));
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
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), CBN_SELCHANGE), reinterpret_cast<LPARAM>(target));
    Sync(parent);
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
    PostMessageA(button, BM_CLICK, 0, 0);
    Sync(box, 2000);
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
        {"windows", CmdWindows}, {"find", CmdFind},       {"count", CmdCount},
        {"gone", CmdGone},       {"child", CmdChild},     {"state", CmdState},
        {"text", CmdText},       {"settext", CmdSetText}, {"click", CmdClick},
        {"type", CmdType},       {"key", CmdKey},         {"selectall", CmdSelectAll},
        {"tree", CmdTree},       {"treeselect", CmdTreeSelect},
        {"list", CmdList},       {"listselect", CmdListSelect},
        {"combo", CmdCombo},     {"comboselect", CmdComboSelect},
        {"msgbox", CmdMsgBox},   {"answer", CmdAnswer},   {"screenshot", CmdScreenshot},
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
