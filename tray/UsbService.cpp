// WinSock and ICMP shell of the USB-disk service; the schedules themselves live in UsbOperations.
#include "UsbService.h"

#include "UsbOperations.h"
#include "WinsockUsbSocket.h"

#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <cstring>

char g_senderAddress[16];

void InitSockets() {
    WSADATA data;
    WSAStartup(0x0101, &data);
}

SOCKET OpenListener(HWND window, UINT message, int nReceiveBuffer) {
    SOCKET listener = socket(AF_INET, SOCK_DGRAM, 0);
    if (listener == INVALID_SOCKET) return INVALID_SOCKET;
    if (nReceiveBuffer > 0)
        setsockopt(listener, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&nReceiveBuffer),
                   sizeof nReceiveBuffer);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = INADDR_ANY;
    local.sin_port = htons(USB_SERVICE_PORT);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR ||
        WSAAsyncSelect(listener, window, message, FD_READ) == SOCKET_ERROR) {
        closesocket(listener);
        return INVALID_SOCKET;
    }
    return listener;
}

bool ReceivePacket(SOCKET listener, UsbPacket& packet) {
    char buffer[USB_RECEIVE_SIZE];
    sockaddr_in from{};
    int fromLen = sizeof from;
    int got = recvfrom(listener, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE) got = sizeof buffer;
    if (got < 1) return false;
    std::string sender = FormatIPv4(from.sin_addr.s_addr);
    std::memcpy(g_senderAddress, sender.c_str(), sender.size() + 1);
    packet = ParseUsbPacket(reinterpret_cast<const uint8_t*>(buffer), static_cast<size_t>(got));
    return true;
}

void GetLocalAddresses(uint32_t addresses[MAX_LOCAL_ADDRESSES], int& count) {
    count = 0;
    char hostName[100];
    if (gethostname(hostName, sizeof hostName) == SOCKET_ERROR) return;
    hostent* host = gethostbyname(hostName);
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4) return;
    // Further addresses of a host with more than ten are left out.
    for (char** entry = host->h_addr_list; *entry != nullptr && count < MAX_LOCAL_ADDRESSES; entry++)
        std::memcpy(&addresses[count++], *entry, 4);
}

bool DiscoverDisks(std::vector<std::string>& names, std::vector<std::string>& addresses, IUsbSocket& socket,
                   std::vector<std::string>* locals) {
    uint32_t local[MAX_LOCAL_ADDRESSES];
    int count = 0;
    GetLocalAddresses(local, count);
    std::vector<uint32_t> replyLocals;
    const bool ok = RunDiscovery(socket, std::vector<uint32_t>(local, local + count), names, addresses,
                                 locals ? &replyLocals : nullptr);
    if (locals) {
        for (uint32_t address : replyLocals) locals->push_back(FormatIPv4(address));
    }
    return ok;
}

bool DiscoverDisks(std::vector<std::string>& names, std::vector<std::string>& addresses,
                   std::vector<std::string>* locals) {
    CWinsockUsbSocket socket;
    return DiscoverDisks(names, addresses, socket, locals);
}

bool DiscoverDisks(CStringList& names, CStringList& addresses, CStringList* locals) {
    std::vector<std::string> foundNames, foundAddresses, foundLocals;
    bool ok = DiscoverDisks(foundNames, foundAddresses, &foundLocals);
    for (size_t i = 0; i < foundNames.size(); i++) {
        names.AddTail(CString(foundNames[i].c_str()));
        addresses.AddTail(CString(foundAddresses[i].c_str()));
        if (locals) locals->AddTail(CString(foundLocals[i].c_str()));
    }
    return ok;
}

void ServerOfPath(CString path, CString& server) {
    std::string text;
    ServerOfPath(std::string(path.GetString()), text);
    server = text.c_str();
}

bool QueryEject(const std::string& serverName, const std::string& localAddress, const std::string& applianceAddress,
                UsbPacket& reply) {
    // An address that does not parse binds to any local address, and matches no sender.
    const uint32_t local = inet_addr(localAddress.c_str());
    CWinsockUsbSocket socket;
    return RunEjectQuery(socket, serverName, local == INADDR_NONE ? 0 : local, inet_addr(applianceAddress.c_str()),
                         reply);
}

// The reply buffer holds one ICMP_ECHO_REPLY of this build (40 bytes on x86_64, 28 on a 32-bit build),
// the echoed data and the 8 bytes IcmpSendEcho asks for on top.
constexpr DWORD ECHO_REPLY_BUFFER_SIZE = EchoReplyBufferSize(sizeof(ICMP_ECHO_REPLY));
static_assert(sizeof(void*) != 8 || ECHO_REPLY_BUFFER_SIZE == 80, "x86_64 echo reply record is 40 bytes");

bool PingHost(const char* address) {
    int answered = 0;
    IPAddr destination = address ? inet_addr(address) : INADDR_NONE;
    HANDLE icmp = destination != INADDR_NONE ? IcmpCreateFile() : INVALID_HANDLE_VALUE;
    if (icmp != INVALID_HANDLE_VALUE) {
        std::array<uint8_t, ECHO_DATA_SIZE> payload = EchoPayload();
        for (int i = 0; i < ECHO_COUNT; i++) {
            alignas(ICMP_ECHO_REPLY) uint8_t reply[ECHO_REPLY_BUFFER_SIZE];
            DWORD replies = IcmpSendEcho(icmp, destination, payload.data(), static_cast<WORD>(payload.size()), nullptr,
                                         reply, sizeof reply, ECHO_TIMEOUT_MS);
            if (replies > 0 && reinterpret_cast<ICMP_ECHO_REPLY*>(reply)->Status == IP_SUCCESS) answered++;
        }
        IcmpCloseHandle(icmp);
    }
    return answered > 0;
}

bool IsHostReachable(const char* address) {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool reachable = PingHost(address);
    SetCursor(previous);
    return reachable;
}
