// CTrayNetwork: the tray's window code reaches the appliances' USB-disk service only through this class.
// The product's instance calls DiscoverDisks, IsHostReachable and QueryEject as they are; a test installs a
// class of its own to stand in for the waits (2 s per discovery, 4 s per silent address, 60 s per
// unanswered eject) with instant, chosen answers.
#pragma once

#include "StringList.h"
#include "UsbPacket.h"

class CTrayNetwork {
public:
    CTrayNetwork() = default;
    CTrayNetwork(const CTrayNetwork&) = delete;
    CTrayNetwork& operator=(const CTrayNetwork&) = delete;
    virtual ~CTrayNetwork() = default;

    virtual bool DiscoverDisks(CStringList& names, CStringList& addresses);
    virtual bool IsHostReachable(const char* address);
    virtual bool QueryEject(const CString& serverName, UsbPacket& reply);

    static CTrayNetwork* Current();
    // Makes pNetwork current (NULL: the product's calls again); returns the previous one.
    static CTrayNetwork* Install(CTrayNetwork* pNetwork);
};
