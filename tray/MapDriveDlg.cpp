// CMapDriveDlg: free drive letters C: to Z:, the connection through WNetAddConnectionA, the chain step.
#include "MapDriveDlg.h"

#include "DataExchange.h"
#include "EnumConnections.h"
#include "ImageList.h"
#include "MappingRules.h"
#include "MessageBoxSource.h"
#include "NoticeQueues.h"
#include "ShowWNetError.h"
#include "WaitCursor.h"
#include "resource.h"

#include <shellapi.h>
#include <winnetwk.h>

#include <cstring>

namespace {

constexpr UINT SHELL_ICON_FLAGS = SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON;
constexpr int REMOTE_NAME_CHARS = 255;

std::vector<std::string> ToVector(const CStringList& list) {
    std::vector<std::string> items;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        items.emplace_back(list.GetNext(pos).GetString());
    }
    return items;
}

}  // namespace

BEGIN_MESSAGE_MAP(CMapDriveDlg, CDialog)
END_MESSAGE_MAP()

CMapDriveDlg::CMapDriveDlg(CWnd* pParent)
    : CDialog(IDD_MAP_DRIVE, pParent), m_localNames(10), m_remoteNames(10), m_freeDrives(10) {}

void CMapDriveDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PATH, m_path);
    DDX_Control(pDX, IDC_DRIVE_BOX, m_driveBox);
}

BOOL CMapDriveDlg::OnInitDialog() {
    CWaitCursor wait;
    CDialog::OnInitDialog();
    m_localNames.RemoveAll();
    m_remoteNames.RemoveAll();
    m_freeDrives.RemoveAll();
    m_driveBox.ResetContent();
    m_path.SetWindowText("");

    const CString head = g_mapPaths.GetHead();
    if (head.IsEmpty()) {
        GetDlgItem(IDOK)->EnableWindow(FALSE);
    }

    EnumConnections(m_localNames, m_remoteNames);
    if (m_remoteNames.Find(head)) {
        CString text;
        text.Format("%s  already exists.", head.GetString());
        CMessageBoxSource::Current()->MessageBox(nullptr, text, "Warning", MB_OK | MB_ICONEXCLAMATION);
        OnCancel();
        return TRUE;
    }

    const int image = IsWin9xFamily() ? 8 : 4;
    for (const std::string& drive : CandidateDriveLetters(ToVector(m_localNames))) {
        const std::string root = drive + "\\";
        SHFILEINFOA info;
        std::memset(&info, 0, sizeof info);
        if (!SHGetFileInfoA(root.c_str(), 0, &info, sizeof info, SHELL_ICON_FLAGS)) {
            continue;
        }
        if (GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR) {
            continue;
        }
        m_freeDrives.AddTail(drive.c_str());
        COMBOBOXEXITEMA item;
        std::memset(&item, 0, sizeof item);
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
        item.iItem = -1;
        item.pszText = const_cast<LPSTR>(drive.c_str());
        item.iImage = image;
        item.iSelectedImage = image;
        item.lParam = 0;
        m_driveBox.InsertItem(&item);
    }

    SHFILEINFOA info;
    std::memset(&info, 0, sizeof info);
    m_hSystemImages = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHELL_ICON_FLAGS));
    if (m_hSystemImages) {
        CImageList systemImages;
        systemImages.Attach(m_hSystemImages);
        ImageList_SetBkColor(systemImages, CLR_NONE);
        m_driveBox.SetImageList(&systemImages);
        systemImages.Detach();
    }

    m_driveBox.SetCurSel(0);
    m_path.SetWindowText(head);
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return TRUE;
}

void CMapDriveDlg::OnOK() {
    CWaitCursor wait;
    const int selection = m_driveBox.GetCurSel();
    POSITION pos = selection >= 0 ? m_freeDrives.FindIndex(selection) : nullptr;
    // With every letter in use (or nothing selected) there is no local name to connect: the path just
    // leaves the queue like any other.
    if (pos) {
        const CString localName = m_freeDrives.GetAt(pos);
        char remoteName[REMOTE_NAME_CHARS] = "";
        m_path.GetWindowText(remoteName, REMOTE_NAME_CHARS);
        const DWORD result = WNetAddConnectionA(remoteName, nullptr, localName);
        if (result != NO_ERROR) {
            ShowWNetError(this, result);
        } else if (!g_mapAddresses.IsEmpty()) {
            g_mappingOrigins.Mapped(remoteName, g_mapAddresses.GetHead().GetString());
        }
    }
    ContinueChain(IDOK);
}

void CMapDriveDlg::OnCancel() {
    ContinueChain(IDCANCEL);
}

void CMapDriveDlg::ContinueChain(int nResultWhenLast) {
    g_mapDlgActive = false;
    DropMapHead();
    EndChainStep(*this, !g_mapPaths.IsEmpty(), QUEUE_MAP, nResultWhenLast);
}
