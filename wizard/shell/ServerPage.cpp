// The server page: load, the check on every change, store, and the workgroup list from the network.
#include "ServerPage.h"

#include <winnetwk.h>

#include <cstdio>
#include <cstring>

#include "../link/TimeZones.h"
#include "../res/art/ArtIds.h"
#include "../res/resource.h"
#include "FieldRules.h"
#include "WizardState.h"

// clang-format off
BEGIN_MESSAGE_MAP(CServerPage, CWizardPage)
    ON_EN_CHANGE(IDC_SERVER_NAME, OnFieldChange)
    ON_CBN_EDITCHANGE(IDC_SERVER_WORKGROUP, OnFieldChange)
    ON_EN_CHANGE(IDC_SERVER_MONTH, OnFieldChange)
    ON_EN_CHANGE(IDC_SERVER_DAY, OnFieldChange)
    ON_EN_CHANGE(IDC_SERVER_YEAR, OnFieldChange)
    ON_EN_CHANGE(IDC_SERVER_HOUR, OnFieldChange)
    ON_EN_CHANGE(IDC_SERVER_MINUTE, OnFieldChange)
    ON_CBN_DROPDOWN(IDC_SERVER_WORKGROUP, OnWorkgroupDropDown)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD WORKGROUPS_PER_CALL = 500;

struct Limit {
    int nId;
    int nChars;
};
const Limit kEditLimits[] = {{IDC_SERVER_NAME, 14}, {IDC_SERVER_MONTH, 2}, {IDC_SERVER_DAY, 2},
                             {IDC_SERVER_YEAR, 4},  {IDC_SERVER_HOUR, 2},  {IDC_SERVER_MINUTE, 2}};

int FieldId(ServerField field) {
    switch (field) {
        case ServerField::Month:
            return IDC_SERVER_MONTH;
        case ServerField::Day:
            return IDC_SERVER_DAY;
        case ServerField::Year:
            return IDC_SERVER_YEAR;
        case ServerField::Hour:
            return IDC_SERVER_HOUR;
        case ServerField::Minute:
            return IDC_SERVER_MINUTE;
        default:
            return 0;
    }
}

// Fetches entries, up to dwPerCall a call, until a call does not succeed, or succeeds with none (Wine's router
// reports an entry too big for the buffer that way, and asking again would never end); pfnEntry sees each one.
template <typename F>
void FetchAll(HANDLE hEnum, DWORD dwPerCall, F&& pfnEntry) {
    alignas(NETRESOURCEA) static char buffer[10240];
    for (;;) {
        DWORD dwCount = dwPerCall;
        // The call is told of 320 bytes only: it ends as soon as the next entry does not fit in them.
        DWORD dwSize = 320;
        memset(buffer, 0, sizeof buffer);
        if (WNetEnumResourceA(hEnum, &dwCount, buffer, &dwSize) != NO_ERROR || dwCount == 0) return;
        const NETRESOURCEA* p = reinterpret_cast<const NETRESOURCEA*>(buffer);
        for (DWORD i = 0; i < dwCount; ++i)
            if (!pfnEntry(p[i])) return;
    }
}

}  // namespace

CServerPage::CServerPage() : CWizardPage(IDD_SERVER, IDB_SERVER) {}

BOOL CServerPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    for (const Limit& l : kEditLimits) SendDlgItemMessage(l.nId, EM_LIMITTEXT, static_cast<WPARAM>(l.nChars));
    SendDlgItemMessage(IDC_SERVER_WORKGROUP, CB_LIMITTEXT, 15);
    for (int i = 0; i < TIME_ZONE_COUNT; ++i)
        SendDlgItemMessage(IDC_SERVER_TIME_ZONE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_timeZoneNames[i]));
    SendDlgItemMessage(IDC_SERVER_AM_PM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("AM"));
    SendDlgItemMessage(IDC_SERVER_AM_PM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("PM"));
    return TRUE;
}

CString CServerPage::Text(int nId, int nMax) const {
    char szText[64] = "";
    GetDlgItemText(nId, szText, nMax + 1);
    return CString(szText);
}

void CServerPage::OnFieldChange() {
    if (m_bLoading) return;
    const CString name = Text(IDC_SERVER_NAME, 14), workgroup = Text(IDC_SERVER_WORKGROUP, 15);
    const CString month = Text(IDC_SERVER_MONTH, 2), day = Text(IDC_SERVER_DAY, 2), year = Text(IDC_SERVER_YEAR, 4);
    const CString hour = Text(IDC_SERVER_HOUR, 2), minute = Text(IDC_SERVER_MINUTE, 2);
    const ServerCheckOutcome o = CheckServerPage(ServerPageTexts{name, workgroup, month, day, year, hour, minute});
    m_bComplete = o.bComplete;
    switch (o.message) {
        case ServerMessage::ServerNameChars:
            AfxMessageBox(IDS_SERVER_NAME_CHARS, MB_OK | MB_ICONEXCLAMATION);
            break;
        case ServerMessage::WorkgroupChars:
            AfxMessageBox(IDS_WORKGROUP_CHARS, MB_OK | MB_ICONEXCLAMATION);
            break;
        case ServerMessage::NotNumeric:
            AfxMessageBox(IDS_NOT_NUMERIC, MB_OK | MB_ICONEXCLAMATION);
            break;
        case ServerMessage::Range: {
            char szText[64];
            snprintf(szText, sizeof szText, "Value must be between %d and %d", o.nMin, o.nMax);
            AfxMessageBox(szText, MB_OK | MB_ICONEXCLAMATION);
            SetDlgItemText(FieldId(o.field), "");
            break;
        }
        case ServerMessage::None:
            break;
    }
}

void CServerPage::OnSetActive() {
    char szName[sizeof g_settings.szServerName + 1] = {}, szWorkgroup[sizeof g_settings.szWorkgroup + 1] = {};
    memcpy(szName, g_settings.szServerName, sizeof g_settings.szServerName);
    memcpy(szWorkgroup, g_settings.szWorkgroup, sizeof g_settings.szWorkgroup);
    // Field by field the new values would meet the old ones (a new month with the old day) and show
    // messages for pairs that never existed; the check runs once on the loaded values instead.
    m_bLoading = TRUE;
    SetDlgItemText(IDC_SERVER_NAME, szName);
    SetDlgItemText(IDC_SERVER_WORKGROUP, szWorkgroup);
    const LoadedClock c = LoadClock(g_settings.szDate, g_settings.szTime);
    SetDlgItemText(IDC_SERVER_YEAR, c.szYear);
    SetDlgItemText(IDC_SERVER_MONTH, c.szMonth);
    SetDlgItemText(IDC_SERVER_DAY, c.szDay);
    SetDlgItemText(IDC_SERVER_MINUTE, c.szMinute);
    SendDlgItemMessage(IDC_SERVER_AM_PM, CB_SETCURSEL, c.bPm ? 1 : 0);
    SetDlgItemText(IDC_SERVER_HOUR, c.szHour);
    g_settings.nTimeZone = NormalizeTimeZone(g_settings.nTimeZone);
    SendDlgItemMessage(IDC_SERVER_TIME_ZONE, CB_SETCURSEL, static_cast<WPARAM>(g_settings.nTimeZone));
    m_bLoading = FALSE;
    OnFieldChange();
}

void CServerPage::Store() {
    StoreServerName(g_settings, Text(IDC_SERVER_NAME, 14));
    StoreTrimmed(Text(IDC_SERVER_WORKGROUP, 15), g_settings.szWorkgroup, sizeof g_settings.szWorkgroup, 15);
    const LRESULT nZone = SendDlgItemMessage(IDC_SERVER_TIME_ZONE, CB_GETCURSEL);
    g_settings.nTimeZone = nZone == CB_ERR ? DEFAULT_TIME_ZONE : static_cast<int32_t>(nZone);
    const bool bPm = SendDlgItemMessage(IDC_SERVER_AM_PM, CB_GETCURSEL) == 1;
    StoreTime(Text(IDC_SERVER_HOUR, 2), Text(IDC_SERVER_MINUTE, 2), bPm, g_settings.szTime);
    StoreDate(Text(IDC_SERVER_MONTH, 2), Text(IDC_SERVER_DAY, 2), Text(IDC_SERVER_YEAR, 4), g_settings.szDate);
}

int CServerPage::OnWizardNext() {
    Store();
    return m_bComplete == 0 ? static_cast<int>(IDD_SERVER) : WIZARD_NEIGHBOUR;
}

void EnumWorkgroups(CStringList& names) {
    HANDLE hEnum = nullptr;
    if (WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, RESOURCEUSAGE_CONTAINER, nullptr, &hEnum) != NO_ERROR)
        return;
    // The provider entry is copied out: its texts live in the fetch buffer.
    NETRESOURCEA provider = {};
    char szRemote[256] = "", szProvider[256] = "";
    bool bFound = false;
    // The top level (one entry per provider) is fetched one entry a call: asked for more entries than it has
    // providers, Wine's router reads past the end of its provider table and crashes. Windows hands out the
    // same entries either way.
    FetchAll(hEnum, 1, [&](const NETRESOURCEA& r) {
        if (r.lpProvider && (lstrcmpiA(r.lpProvider, "microsoft windows network") == 0 ||
                             lstrcmpiA(r.lpProvider, "microsoft network") == 0)) {
            provider = r;
            lstrcpynA(szRemote, r.lpRemoteName ? r.lpRemoteName : "", sizeof szRemote);
            lstrcpynA(szProvider, r.lpProvider, sizeof szProvider);
            provider.lpRemoteName = r.lpRemoteName ? szRemote : nullptr;
            provider.lpProvider = szProvider;
            provider.lpLocalName = nullptr;
            provider.lpComment = nullptr;
            bFound = true;
            return false;
        }
        return true;
    });
    WNetCloseEnum(hEnum);
    if (!bFound) return;
    if (WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &provider, &hEnum) != NO_ERROR) return;
    FetchAll(hEnum, WORKGROUPS_PER_CALL, [&](const NETRESOURCEA& r) {
        if (r.lpRemoteName) names.AddTail(r.lpRemoteName);
        return true;
    });
    WNetCloseEnum(hEnum);
}

void CServerPage::OnWorkgroupDropDown() {
    // The name in the edit, loaded or typed, stays what it is: the list only offers names.
    CString strWorkgroup;
    GetDlgItemText(IDC_SERVER_WORKGROUP, strWorkgroup);
    SendDlgItemMessage(IDC_SERVER_WORKGROUP, CB_RESETCONTENT);
    CStringList names;
    EnumWorkgroups(names);
    for (POSITION pos = names.GetHeadPosition(); pos;)
        SendDlgItemMessage(IDC_SERVER_WORKGROUP, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(static_cast<LPCSTR>(names.GetNext(pos))));
    // Prefix search from the first item on, so that it wraps round and tries the first item last; a match
    // puts the whole item into the edit, so the name is put back.
    SendDlgItemMessage(IDC_SERVER_WORKGROUP, CB_SELECTSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strWorkgroup)));
    SetDlgItemText(IDC_SERVER_WORKGROUP, strWorkgroup);
}
