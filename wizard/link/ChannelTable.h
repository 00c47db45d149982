// The setup wizard's UDP channel table: up to 16 channels to the appliances' configuration port, each a
// datagram socket with a destination, an owner window and a notification message (WSAAsyncSelect, FD_READ),
// and a copy of its last request for retries. Also the PC's own IPv4 addresses, to which search channels
// and broadcasts are bound. Every function returns 1 (or a handle) on success and 0 on failure.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>

#include "PacketHeader.h"

constexpr int MAX_CHANNELS = 16;
constexpr int MAX_LOCAL_ADDRESSES = 10;
constexpr UINT WM_NET_SEARCH = WM_USER + 100;  // the one message whose channels are bound by the walk

constexpr int ERR_NOT_STARTED = -100;
constexpr int ERR_BAD_HANDLE = -102;
constexpr int ERR_NO_SLOT = -103;
constexpr int ERR_NO_MEMORY = -104;

// Library-wide state (user-interface thread only). Addresses are in network order.
extern int NetLastError;  // reason of the last failure not kept in a channel's lastError
extern uint32_t lastSender;
extern uint32_t localAddresses[MAX_LOCAL_ADDRESSES];
extern int localAddressCount;
extern int nextBindIndex;         // local address the next search channel is bound to
extern int deviceInterfaceIndex;  // local address a re-created broadcast socket is bound to
extern bool interfaceWalk;        // true: broadcasts leave through the channel's current socket

int NetStartup();
int NetCleanup();
// Fills the table from the host name's address list, at most MAX_LOCAL_ADDRESSES; unchanged on failure.
void NetGetLocalAddresses(uint32_t (&table)[MAX_LOCAL_ADDRESSES], int* pnCount);

int NetOpenChannel(HWND hOwner, UINT nMessage);
int NetCloseChannel(int hChannel);
// Opens a fresh channel (the binding rule applies again) carrying over destination, port, owner,
// message and last request; the handle may differ. Nothing is sent.
int NetReopenChannel(HWND hOwner, UINT nMessage, int hChannel);

// Fills the header in the caller's packet (payload already in place) and sends header and payload.
int NetSendRequest(int hChannel, uint16_t wType, uint16_t wSequence, uint8_t (&packet)[MAX_PACKET]);
// Sends the last request again, to the channel's current destination.
int NetResend(int hChannel);
// Reads one datagram into the buffer, which is cleared first so that a short datagram never shows an
// earlier one's bytes. The number of bytes read goes to *pnLength when given.
int NetReceive(int hChannel, uint8_t (&buffer)[MAX_PACKET], int* pnLength = nullptr);
int NetSetDestination(int hChannel, uint32_t dwAddress);
// Stops (bHold) or restarts the channel's message per waiting datagram. Every read re-arms the notice while
// more datagrams wait, so a reader that takes a burst at once holds the notices meanwhile; the restart posts one
// notice at once when datagrams are still waiting.
int NetHoldNotices(int hChannel, bool bHold);
int NetGetSender(int hChannel, uint32_t* pdwAddress);
// The index into localAddresses of the address the channel's socket is bound to; -1 when unbound.
int NetGetBoundIndex(int hChannel, int* pnIndex);

// The WinSock error of the channel's last failed socket call; 0 for a bad handle.
int NetGetChannelError(int hChannel);
