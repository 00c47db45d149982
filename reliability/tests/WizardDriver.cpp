// The wizard driver of the loss and round-trip runs.
#include "WizardDriver.h"

#include <commctrl.h>

#include <cstdlib>
#include <functional>

#include "../../wizard/link/ChannelTable.h"
#include "../../wizard/ops/OperationDlg.h"
#include "../../wizard/ops/PasswordDlg.h"
#include "../../wizard/pages/ConfirmDlg.h"
#include "../../wizard/pages/NoticeDlg.h"
#include "../../wizard/res/resource.h"
#include "../../wizard/shell/WizardState.h"
#include "MessagePump.h"

namespace {

// The simulator answers within milliseconds in the lab; a request that does not reach it in this time was
// not sent.
constexpr DWORD REQUEST_WAIT = 1500;
constexpr DWORD ANSWER_WAIT = 60;

void Command(CWnd* pWnd, int nId) {
    CWnd* pItem = pWnd->GetDlgItem(nId);
    pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), pItem ? reinterpret_cast<LPARAM>(pItem->m_hWnd) : 0);
}

// The page's tree and value list, read through the window library's controls as the page reads them.
const CTreeCtrl* DeviceTree(const CDeviceListPage& page) {
    return static_cast<const CTreeCtrl*>(page.GetDlgItem(IDC_DEVICE_TREE));
}
const CListCtrl* DeviceValues(const CDeviceListPage& page) {
    return static_cast<const CListCtrl*>(page.GetDlgItem(IDC_DEVICE_VALUES));
}

}  // namespace

std::string LabEnv(const char* pszName) {
    const char* pszValue = getenv(pszName);
    return pszValue ? pszValue : "";
}

bool ParseRecordHex(const std::string& hex, DeviceSettings& out) {
    if (hex.size() != 2 * sizeof out || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    uint8_t* p = reinterpret_cast<uint8_t*>(&out);
    for (size_t i = 0; i < sizeof out; ++i)
        p[i] = static_cast<uint8_t>(strtoul(hex.substr(2 * i, 2).c_str(), nullptr, 16));
    return true;
}

void TypeText(HWND hEdit, const std::string& text) {
    for (char c : text) ::SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void Retype(HWND hEdit, const std::string& text) {
    ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
    TypeText(hEdit, text.empty() ? std::string("\b") : text);
}

void ClickRadio(HWND hParent, int nId, int nOtherId) {
    ::SendMessageA(::GetDlgItem(hParent, nOtherId), BM_SETCHECK, BST_UNCHECKED, 0);
    HWND hButton = ::GetDlgItem(hParent, nId);
    ::SendMessageA(hButton, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
}

CWizardDriver::CWizardDriver(const CSimLog& log) : m_log(log) {}

void CWizardDriver::Run(const std::function<void()>& body) {
    g_settingsRead = g_passwordPassed = g_redoSearch = g_closeAfterSave = g_saveAttempted = false;
    g_noticeKind = 0;
    m_body = body;
    CModalHook hook([this](CDialog* pDlg) { OnDialog(pDlg); });
    m_wizard.DoModal();
    m_body = nullptr;
}

void CWizardDriver::OnDialog(CDialog* pDlg) {
    if (pDlg == &m_wizard) {
        if (m_body) m_body();
        if (m_wizard.ContinueModal()) m_wizard.EndDialog(IDCANCEL);
    } else if (dynamic_cast<COperationDlg*>(pDlg)) {
        CString caption;
        pDlg->GetWindowText(caption);
        if (caption == "Searching for devices") {
            ++m_nSearches;
            // Four sends per local address, 2 s apart, then the end of the search.
            FollowSchedule(pDlg, m_nBase, 2000, 4 * (localAddressCount > 0 ? localAddressCount : 1) + 1);
        } else {
            FollowSchedule(pDlg, m_nBase, 20000, 8);
        }
    } else if (dynamic_cast<CPasswordDlg*>(pDlg)) {
        HWND hEdit = ::GetDlgItem(pDlg->m_hWnd, IDC_PASSWORD_EDIT);
        Retype(hEdit, m_password);
        const size_t nBase = m_log.Requests().size();
        Command(pDlg, IDC_PASSWORD_OK);
        FollowSchedule(pDlg, nBase, 2000, 4);
        // Given up with its message, the dialog waits for the user: who cancels this time.
        if (pDlg->ContinueModal()) pDlg->SendMessage(WM_COMMAND, IDCANCEL);
    } else if (dynamic_cast<CConfirmDlg*>(pDlg)) {
        m_nBase = m_log.Requests().size();
        pDlg->SendMessage(WM_COMMAND, IDOK);
    } else if (dynamic_cast<CNoticeDlg*>(pDlg)) {
        m_nNoticeKind = g_noticeKind;
        if (g_noticeKind == 2)
            m_clock.Advance(2000);  // closes itself
        else
            Command(pDlg, IDOK);  // Exit
    }
}

void CWizardDriver::FollowSchedule(CDialog* pDlg, size_t nBase, DWORD dwPeriod, int nTicks) {
    for (int i = 0; i < nTicks && pDlg->ContinueModal(); ++i) {
        // Most answers are in before the simulator's log says the request came: no need to read it then.
        if (PumpUntil([pDlg] { return !pDlg->ContinueModal(); }, m_dwAnswerWait, AfxPumpPendingMessages)) break;
        m_log.WaitForRequests(nBase + static_cast<size_t>(i) + 1, REQUEST_WAIT);
        PumpFor(ANSWER_WAIT);
        if (!pDlg->ContinueModal()) break;
        m_clock.Advance(dwPeriod);
    }
    AfxPumpPendingMessages();
}

void CWizardDriver::StartAndSearch() {
    m_nBase = m_log.Requests().size();
    Command(&m_wizard, IDC_SETUP);
    // The page's first activation posted its Refresh: the search runs in its modal dialog from here.
    AfxPumpPendingMessages();
}

HTREEITEM CWizardDriver::FindItem(const char* pszName) const {
    const CTreeCtrl* pTree = DeviceTree(m_list);
    for (HTREEITEM h = pTree->GetRootItem(); h; h = pTree->GetNextSiblingItem(h))
        if (pTree->GetItemText(h) == pszName) return h;
    return nullptr;
}

std::vector<std::string> CWizardDriver::TreeNames() const {
    std::vector<std::string> out;
    const CTreeCtrl* pTree = DeviceTree(m_list);
    for (HTREEITEM h = pTree->GetRootItem(); h; h = pTree->GetNextSiblingItem(h))
        out.push_back(pTree->GetItemText(h).GetString());
    return out;
}

std::string CWizardDriver::ShownValues() const {
    const CListCtrl* pValues = DeviceValues(m_list);
    std::string out;
    for (int i = 0; i < pValues->GetItemCount(); ++i) out += (i ? "|" : "") + std::string(pValues->GetItemText(i, 1));
    return out;
}

bool CWizardDriver::SelectAndRead(const char* pszName) {
    HTREEITEM hItem = FindItem(pszName);
    if (!hItem) return false;
    HWND hTree = ::GetDlgItem(m_list.m_hWnd, IDC_DEVICE_TREE);
    const size_t nBase = m_log.Requests().size();
    TreeView_SelectItem(hTree, hItem);
    // Three resends per local address, then the give-up tick.
    const int nTicks = 3 * (localAddressCount > 0 ? localAddressCount : 1) + 1;
    for (int i = 0; i <= nTicks && !g_settingsRead; ++i) {
        if (i > 0 && !m_clock.IsTimerSet(m_list.m_hWnd, TIMER_RETRY)) break;
        if (PumpUntil([] { return g_settingsRead; }, m_dwAnswerWait, AfxPumpPendingMessages)) break;
        m_log.WaitForRequests(nBase + static_cast<size_t>(i) + 1, REQUEST_WAIT);
        PumpFor(ANSWER_WAIT);
        if (g_settingsRead) break;
        m_clock.Advance(2000);
    }
    return true;
}

void CWizardDriver::Reselect(const char* pszName) {
    HWND hTree = ::GetDlgItem(m_list.m_hWnd, IDC_DEVICE_TREE);
    TreeView_SelectItem(hTree, nullptr);
    SelectAndRead(pszName);
}

void CWizardDriver::ClickNext() {
    Command(&m_wizard, IDC_NEXT);
}

void CWizardDriver::Save() {
    m_nNoticeKind = 0;
    m_wizard.Next();
}
