// CTrayNetwork: the tray's window code reaches the appliances' USB-disk service only through this class.
// The product's instance calls DiscoverDisks, IsHostReachable and QueryEject as they are; a test installs a
// class of its own to stand in for the waits (2 s per discovery, 4 s per silent address, 60 s per
// unanswered eject) with instant, chosen answers.
#pragma once

#include "Seam.h"
#include "StringList.h"
#include "UsbPacket.h"

#include <windows.h>

class CTrayNetwork : public CSeam<CTrayNetwork> {
public:
    // locals receives the local address each reply came through.
    virtual bool DiscoverDisks(CStringList& names, CStringList& addresses, CStringList& locals);
    virtual bool IsHostReachable(const char* address);
    // The eject query through the interface of localAddress; only applianceAddress's answer is the reply.
    virtual bool QueryEject(const CString& serverName, const CString& localAddress, const CString& applianceAddress,
                            UsbPacket& reply);
    // Starts the echo test of address beside the calling thread; its end is posted to window as message
    // with wParam = checkId and lParam = 1 when the address answered, else 0.
    virtual void BeginHostCheck(const CString& address, HWND window, UINT message, WPARAM checkId);
};
