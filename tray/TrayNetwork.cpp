// The product's path of CTrayNetwork: the plain calls of the USB-disk service.
#include "TrayNetwork.h"

#include "UsbService.h"

namespace {
CTrayNetwork* g_pInstalledNetwork = nullptr;
}

bool CTrayNetwork::DiscoverDisks(CStringList& names, CStringList& addresses) {
    return ::DiscoverDisks(names, addresses);
}

bool CTrayNetwork::IsHostReachable(const char* address) {
    return ::IsHostReachable(address);
}

bool CTrayNetwork::QueryEject(const CString& serverName, UsbPacket& reply) {
    return ::QueryEject(serverName.GetString(), reply);
}

CTrayNetwork* CTrayNetwork::Current() {
    static CTrayNetwork product;
    return g_pInstalledNetwork ? g_pInstalledNetwork : &product;
}

CTrayNetwork* CTrayNetwork::Install(CTrayNetwork* pNetwork) {
    CTrayNetwork* previous = g_pInstalledNetwork;
    g_pInstalledNetwork = pNetwork;
    return previous;
}
