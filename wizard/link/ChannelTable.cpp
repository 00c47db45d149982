// The UDP channel table over WinSock 1.1 with asynchronous selection.
#include "ChannelTable.h"

#include <cstring>
#include <new>

#include "PacketCatalogue.h"
#include "SecureZero.h"

namespace {

// Room for the replies of some thousands of appliances answering one broadcast together.
constexpr int RECEIVE_BUFFER_BYTES = 4 << 20;

struct Channel {
    SOCKET socket;
    uint32_t destination;  // 0xFFFFFFFF broadcast
    uint32_t sender;
    uint16_t port;
    HWND owner;
    UINT message;
    uint8_t lastRequest[MAX_PACKET];
    int lastRequestLength;
    int lastError;
    int boundIndex;  // index into localAddresses of the address the socket is bound to; -1 unbound
};

bool started = false;
Channel* slots[MAX_CHANNELS];

// A request may hold the admin password: no record leaves the table with it still inside.
void FreeRecord(int nSlot) {
    Channel* pChannel = slots[nSlot];
    SecureZero(pChannel, sizeof *pChannel);
    delete pChannel;
    slots[nSlot] = nullptr;
}

Channel* Lookup(int hChannel) {
    if (!started) {
        NetLastError = ERR_NOT_STARTED;
        return nullptr;
    }
    if (hChannel < 1 || hChannel > MAX_CHANNELS || !slots[hChannel - 1]) {
        NetLastError = ERR_BAD_HANDLE;
        return nullptr;
    }
    return slots[hChannel - 1];
}

SOCKET CreateBroadcastSocket() {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) return s;
    BOOL bBroadcast = TRUE;
    if (setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&bBroadcast), sizeof bBroadcast) ==
        SOCKET_ERROR) {
        int nError = WSAGetLastError();
        closesocket(s);
        WSASetLastError(nError);
        return INVALID_SOCKET;
    }
    // A broadcast search is answered by every appliance at once; the platform's default buffer (64 KB on
    // Windows, 208 KB under Wine on Linux) holds a few hundred replies and drops the rest of a large burst.
    // A larger buffer is best effort: where the platform refuses it, the default stays.
    int nReceiveBuffer = RECEIVE_BUFFER_BYTES;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&nReceiveBuffer), sizeof nReceiveBuffer);
    return s;
}

bool BindTo(SOCKET s, uint32_t dwLocal) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = dwLocal;
    local.sin_port = 0;
    return bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != SOCKET_ERROR;
}

int SendBytes(Channel* pChannel, const uint8_t* pData, int nLength) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(pChannel->port);
    to.sin_addr.s_addr = pChannel->destination;
    int nSent = sendto(pChannel->socket, reinterpret_cast<const char*>(pData), nLength, 0,
                       reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (nSent == SOCKET_ERROR) {
        pChannel->lastError = WSAGetLastError();
        return 0;
    }
    return nSent;
}

}  // namespace

int NetLastError = 0;
uint32_t lastSender = 0;
uint32_t localAddresses[MAX_LOCAL_ADDRESSES];
int localAddressCount = 0;
int nextBindIndex = 0;
int deviceInterfaceIndex = 0;
bool interfaceWalk = true;

int NetStartup() {
    if (started) return 1;
    WSADATA data;
    int nResult = WSAStartup(MAKEWORD(1, 1), &data);
    if (nResult != 0) {
        NetLastError = nResult;
        return 0;
    }
    started = true;
    return 1;
}

int NetCleanup() {
    if (!started) {
        NetLastError = ERR_NOT_STARTED;
        return 0;
    }
    WSACleanup();  // releases the sockets
    for (int i = 0; i < MAX_CHANNELS; ++i)
        if (slots[i]) FreeRecord(i);
    started = false;
    return 1;
}

void NetGetLocalAddresses(uint32_t (&table)[MAX_LOCAL_ADDRESSES], int* pnCount) {
    // 256 bytes hold any name gethostname returns.
    char szName[256] = {};
    if (gethostname(szName, sizeof szName) == SOCKET_ERROR) return;
    hostent* pHost = gethostbyname(szName);
    if (!pHost || pHost->h_addrtype != AF_INET || pHost->h_length != 4) return;
    int nCount = 0;
    for (char** pp = pHost->h_addr_list; *pp && nCount < MAX_LOCAL_ADDRESSES; ++pp) memcpy(&table[nCount++], *pp, 4);
    *pnCount = nCount;
}

int NetOpenChannel(HWND hOwner, UINT nMessage) {
    if (!started) {
        NetLastError = ERR_NOT_STARTED;
        return 0;
    }
    int nSlot = 0;
    while (nSlot < MAX_CHANNELS && slots[nSlot]) ++nSlot;
    if (nSlot == MAX_CHANNELS) {
        NetLastError = ERR_NO_SLOT;
        return 0;
    }
    Channel* pChannel = new (std::nothrow) Channel{};
    if (!pChannel) {
        NetLastError = ERR_NO_MEMORY;
        return 0;
    }
    slots[nSlot] = pChannel;
    pChannel->boundIndex = -1;

    pChannel->socket = CreateBroadcastSocket();
    bool bOk = pChannel->socket != INVALID_SOCKET;
    if (bOk && interfaceWalk && nextBindIndex < localAddressCount && nMessage == WM_NET_SEARCH) {
        bOk = BindTo(pChannel->socket, localAddresses[nextBindIndex]);
        if (bOk) pChannel->boundIndex = nextBindIndex++;
    }
    if (bOk) bOk = WSAAsyncSelect(pChannel->socket, hOwner, nMessage, FD_READ) != SOCKET_ERROR;
    if (!bOk) {
        NetLastError = WSAGetLastError();
        if (pChannel->socket != INVALID_SOCKET) closesocket(pChannel->socket);
        FreeRecord(nSlot);
        return 0;
    }
    pChannel->owner = hOwner;
    pChannel->message = nMessage;
    pChannel->port = CONFIG_PORT;
    return nSlot + 1;
}

int NetCloseChannel(int hChannel) {
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    if (pChannel->socket != INVALID_SOCKET) closesocket(pChannel->socket);
    FreeRecord(hChannel - 1);
    return 1;
}

int NetReopenChannel(HWND hOwner, UINT nMessage, int hChannel) {
    Channel* pOld = Lookup(hChannel);
    if (!pOld) return 0;
    // Carried over by copy, so the old record can be wiped as it is freed.
    Channel* pSaved = new (std::nothrow) Channel;
    if (!pSaved) {
        NetLastError = ERR_NO_MEMORY;
        return 0;
    }
    *pSaved = *pOld;
    NetCloseChannel(hChannel);
    int hNew = NetOpenChannel(hOwner, nMessage);
    if (hNew) {
        Channel* pNew = slots[hNew - 1];
        pNew->destination = pSaved->destination;
        pNew->port = pSaved->port;
        pNew->owner = pSaved->owner;
        pNew->message = pSaved->message;
        memcpy(pNew->lastRequest, pSaved->lastRequest, sizeof pNew->lastRequest);
        pNew->lastRequestLength = pSaved->lastRequestLength;
    }
    SecureZero(pSaved, sizeof *pSaved);
    delete pSaved;
    return hNew;
}

int NetSendRequest(int hChannel, uint16_t wType, uint16_t wSequence, uint8_t (&packet)[MAX_PACKET]) {
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    int nPayload = PayloadLength(wType, packet);
    if (nPayload < 0) return 0;
    PacketHeader header{wType, 0, wSequence, static_cast<uint16_t>(nPayload)};
    memcpy(packet, &header, sizeof header);
    int nSent = SendBytes(pChannel, packet, PACKET_HEADER_SIZE + nPayload);
    if (!nSent) return 0;
    memcpy(pChannel->lastRequest, packet, sizeof pChannel->lastRequest);
    pChannel->lastRequestLength = nSent;
    return 1;
}

int NetResend(int hChannel) {
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    return SendBytes(pChannel, pChannel->lastRequest, pChannel->lastRequestLength) ? 1 : 0;
}

int NetReceive(int hChannel, uint8_t (&buffer)[MAX_PACKET], int* pnLength) {
    memset(buffer, 0, sizeof buffer);
    if (pnLength) *pnLength = 0;
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    sockaddr_in from{};
    int nFromLength = sizeof from;
    int nRead = recvfrom(pChannel->socket, reinterpret_cast<char*>(buffer), MAX_PACKET, 0,
                         reinterpret_cast<sockaddr*>(&from), &nFromLength);
    if (nRead == SOCKET_ERROR || nRead == 0) {
        pChannel->lastError = WSAGetLastError();
        return 0;
    }
    pChannel->sender = from.sin_addr.s_addr;
    lastSender = from.sin_addr.s_addr;
    if (pnLength) *pnLength = nRead;
    return 1;
}

int NetSetDestination(int hChannel, uint32_t dwAddress) {
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    pChannel->destination = dwAddress;
    if (dwAddress != 0xFFFFFFFF || interfaceWalk) return 1;
    // A broadcast to a known appliance leaves through the interface it was found on. An appliance found
    // by an unbound channel has no such interface (-1): the socket is kept as it is.
    if (deviceInterfaceIndex < 0 || deviceInterfaceIndex >= localAddressCount) return 1;
    if (pChannel->socket != INVALID_SOCKET) closesocket(pChannel->socket);
    SOCKET s = CreateBroadcastSocket();
    if (s != INVALID_SOCKET && (!BindTo(s, localAddresses[deviceInterfaceIndex]) ||
                                WSAAsyncSelect(s, pChannel->owner, pChannel->message, FD_READ) == SOCKET_ERROR)) {
        pChannel->lastError = WSAGetLastError();
        closesocket(s);
        s = INVALID_SOCKET;
    }
    pChannel->socket = s;
    pChannel->boundIndex = s == INVALID_SOCKET ? -1 : deviceInterfaceIndex;
    return 1;
}

int NetHoldNotices(int hChannel, bool bHold) {
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    if (WSAAsyncSelect(pChannel->socket, pChannel->owner, bHold ? 0 : pChannel->message, bHold ? 0 : FD_READ) ==
        SOCKET_ERROR) {
        pChannel->lastError = WSAGetLastError();
        return 0;
    }
    return 1;
}

int NetGetSender(int hChannel, uint32_t* pdwAddress) {
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    *pdwAddress = pChannel->sender;
    return 1;
}

int NetGetBoundIndex(int hChannel, int* pnIndex) {
    Channel* pChannel = Lookup(hChannel);
    if (!pChannel) return 0;
    *pnIndex = pChannel->boundIndex;
    return 1;
}

int NetGetChannelError(int hChannel) {
    Channel* pChannel = Lookup(hChannel);
    return pChannel ? pChannel->lastError : 0;
}
