// The product's path of CTrayNetwork: the plain calls of the USB-disk service.
#include "TrayNetwork.h"

#include "UsbService.h"

#include <string>

namespace {

struct HostCheck {
    std::string address;
    HWND window;
    UINT message;
    WPARAM checkId;
};

DWORD WINAPI RunHostCheck(LPVOID parameter) {
    HostCheck* check = static_cast<HostCheck*>(parameter);
    const bool reachable = PingHost(check->address.c_str());
    // A window that is gone meanwhile just does not get the result.
    ::PostMessageA(check->window, check->message, check->checkId, reachable ? 1 : 0);
    delete check;
    return 0;
}

}  // namespace

bool CTrayNetwork::DiscoverDisks(CStringList& names, CStringList& addresses, CStringList& locals) {
    return ::DiscoverDisks(names, addresses, &locals);
}

bool CTrayNetwork::IsHostReachable(const char* address) {
    return ::IsHostReachable(address);
}

bool CTrayNetwork::QueryEject(const CString& serverName, const CString& localAddress, const CString& applianceAddress,
                              UsbPacket& reply) {
    return ::QueryEject(serverName.GetString(), localAddress.GetString(), applianceAddress.GetString(), reply);
}

void CTrayNetwork::BeginHostCheck(const CString& address, HWND window, UINT message, WPARAM checkId) {
    HostCheck* check = new HostCheck{address.GetString(), window, message, checkId};
    HANDLE thread = ::CreateThread(nullptr, 0, RunHostCheck, check, 0, nullptr);
    if (thread) {
        ::CloseHandle(thread);
        return;
    }
    // No thread to spare: the test runs here, as it always did.
    RunHostCheck(check);
}
