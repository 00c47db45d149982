// The wizard's desktop commands over the shell: ShellExecute, WinExec, FindWindow and the shell's link
// object through COM. The rules (messages, paths) are in DesktopRules.
#include "DesktopCommands.h"

#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include "DesktopRules.h"
#include "Framework.h"
#include "../res/desktop_ids.h"

INT_PTR OpenUserGuide(LPCSTR lpszAppDir) {
    std::string path = UserGuidePath(lpszAppDir);
    INT_PTR nResult =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (nResult <= 32) {
        UINT nId = ShellResultMessageId(nResult);
        if (nId) AfxMessageBox(nId, MB_OK);
    }
    return nResult;
}

UINT RunUtilityInstaller(LPCSTR lpszAppDir) {
    std::string command = InstallerCommand(lpszAppDir);
    UINT nResult = ::WinExec(command.c_str(), SW_SHOWNORMAL);
    UINT nId = LaunchResultMessageId(nResult);
    if (nId) AfxMessageBox(nId, MB_OK);
    return nResult;
}

BOOL OfferUtility(LPCSTR lpszAppDir) {
    if (::FindWindowA(nullptr, UTILITY_WINDOW_TITLE)) return FALSE;
    if (AfxMessageBox(IDS_OFFER_UTILITY, MB_YESNO) != IDYES) return FALSE;
    return RunUtilityInstaller(lpszAppDir) > 31;
}

namespace {

// Owns the thread's COM initialisation; uninitialises only what it initialised.
class CComScope {
public:
    CComScope() : m_hr(::CoInitialize(nullptr)) {}
    ~CComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    HRESULT m_hr;
};

}  // namespace

BOOL CreateDesktopShortcut(const DeviceSettings& settings, LPCSTR lpszIconDir) {
    char szDesktop[MAX_PATH];
    ShortcutPaths paths;
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, szDesktop)) ||
        !MakeShortcutPaths(settings.szServerName, szDesktop, lpszIconDir, paths)) {
        AfxMessageBox(IDS_SHORTCUT_SAVE_FAILED, MB_OK);
        return FALSE;
    }
    WCHAR wszLinkFile[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, paths.linkFile.c_str(), -1, wszLinkFile, MAX_PATH)) {
        AfxMessageBox(IDS_SHORTCUT_SAVE_FAILED, MB_OK);
        return FALSE;
    }

    CComScope com;
    IShellLinkA* pLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&pLink))))
        return FALSE;
    IPersistFile* pFile = nullptr;
    if (FAILED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        pLink->Release();
        return FALSE;
    }

    if (FAILED(pLink->SetPath(paths.target.c_str()))) AfxMessageBox(IDS_SHORTCUT_SETPATH_FAILED, MB_OK);
    if (FAILED(pLink->SetDescription(paths.description.c_str())))
        AfxMessageBox(IDS_SHORTCUT_SETDESCRIPTION_FAILED, MB_OK);
    if (FAILED(pLink->SetIconLocation(paths.iconPath.c_str(), 0))) AfxMessageBox(IDS_SHORTCUT_SETICON_FAILED, MB_OK);
    HRESULT hr = pFile->Save(wszLinkFile, TRUE);
    if (FAILED(hr)) AfxMessageBox(IDS_SHORTCUT_SAVE_FAILED, MB_OK);

    pFile->Release();
    pLink->Release();
    return SUCCEEDED(hr);
}
