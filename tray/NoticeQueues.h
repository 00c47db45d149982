// The tray's three notice queues, their locks and the flags of the dialog chains that work them off.
// Every change of a queue is made under its lock; heads and counts are read without it.
#pragma once

#include "CriticalSection.h"
#include "MappingOrigins.h"
#include "StringList.h"

#include <windows.h>

class CDialog;

// Window messages of the main frame.
constexpr UINT WM_TRAYNOTIFY = WM_USER;        // tray icon callback
constexpr UINT WM_SOCKETNOTIFY = WM_USER + 1;  // a notice datagram waits on the listener
constexpr UINT WM_PROCESSQUEUE = WM_USER + 2;  // next step of a notice queue (wParam: which)
constexpr UINT WM_HOSTCHECKED = WM_USER + 3;   // an echo test ended (wParam: its id, lParam: 1 if answered)

// WM_PROCESSQUEUE's wParam: which chain goes on (any other value runs a discovery).
constexpr WPARAM QUEUE_MAP = 32;
constexpr WPARAM QUEUE_REMOVED = 33;

// Disks waiting to be offered for mapping and the addresses of the appliances that announced them; entry i
// of both belongs together, the head is the one being offered.
extern CStringList g_mapPaths;
extern CStringList g_mapAddresses;
// Paths of disks that are gone and whose removal notice waits; the head is the one being shown.
extern CStringList g_removedPaths;

// Created by the application's start-up; NULL before. Use the Lock/Unlock helpers below.
extern CCriticalSection* g_csMapQueue;
extern CCriticalSection* g_csRemovedQueue;

// Who may announce that a mapped disk is gone (see MappingOrigins.h); UI thread only.
extern CMappingOrigins g_mappingOrigins;

extern bool g_mapDlgActive;
extern bool g_removedDlgActive;
extern bool g_warningActive;

// Creates the two locks when they do not exist yet; DeleteQueueLocks removes them.
void CreateQueueLocks();
void DeleteQueueLocks();

// Drops the head of both mapping queues under g_csMapQueue; the head of the removal queue under
// g_csRemovedQueue. Nothing happens to an empty queue.
void DropMapHead();
void DropRemovedHead();

// The frame window, found by its title as the dialogs find it to post their follow-up messages.
HWND FindMainWindow();

// Ends dlg, one step of the chain that works off queue (QUEUE_MAP, QUEUE_REMOVED), after it dropped its
// head: while bMore paths wait, with IDCANCEL and a WM_PROCESSQUEUE that has the frame open the next step;
// after the last one with nResultWhenLast.
void EndChainStep(CDialog& dlg, bool bMore, WPARAM queue, int nResultWhenLast);
