// Choosing the PC's adapter for the subnet test.
#include "LocalAdapter.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <cstring>
#include <vector>

#include "Framework.h"

namespace {
// Room for about 14 adapters; a PC with more is asked again with the size it reports.
constexpr ULONG ADAPTER_BUFFER_SIZE = 10240;
// Adapters may come between a call and the next, which then asks for more again.
constexpr int ADAPTER_CALLS = 3;
}  // namespace

BOOL CLocalAdapter::Choose(uint32_t dwPreferred) {
    m_szAddress[0] = 0;
    m_szMask[0] = 0;
    std::vector<IP_ADAPTER_INFO> buffer;
    ULONG nSize = ADAPTER_BUFFER_SIZE;
    for (int nCall = 0; nCall < ADAPTER_CALLS; ++nCall) {
        buffer.resize((nSize + sizeof(IP_ADAPTER_INFO) - 1) / sizeof(IP_ADAPTER_INFO));
        // GetAdaptersInfo reports its failure as its result, not through GetLastError.
        m_dwError = GetAdaptersInfo(buffer.data(), &nSize);
        if (m_dwError != ERROR_BUFFER_OVERFLOW) break;
    }
    if (m_dwError != ERROR_SUCCESS) return FALSE;
    const IP_ADAPTER_INFO* pChosen = nullptr;
    for (const IP_ADAPTER_INFO* p = buffer.data(); p; p = p->Next) {
        if (strncmp(p->Description, "PPP Adapter", 11) == 0) continue;
        if (!pChosen) pChosen = p;
        if (dwPreferred && inet_addr(p->IpAddressList.IpAddress.String) == dwPreferred) {
            pChosen = p;
            break;
        }
        if (!dwPreferred) break;
    }
    if (pChosen) {
        lstrcpynA(m_szAddress, pChosen->IpAddressList.IpAddress.String, sizeof m_szAddress);
        lstrcpynA(m_szMask, pChosen->IpAddressList.IpMask.String, sizeof m_szMask);
    }
    return TRUE;
}

void CLocalAdapter::ShowError(HWND hOwner) const {
    char* pszText = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   m_dwError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&pszText), 0, nullptr);
    CWnd* pOwner = CWnd::FromHandle(hOwner);
    if (pOwner)
        pOwner->MessageBox(pszText ? pszText : "", "Error", MB_OK | MB_ICONINFORMATION);
    else
        CMessageBoxSource::Current()->MessageBox(nullptr, pszText ? pszText : "", "Error", MB_OK | MB_ICONINFORMATION);
    LocalFree(pszText);
}
