// The notice queues, their locks and flags (see NoticeQueues.h).
#include "NoticeQueues.h"

#include "Dialog.h"
#include "String.h"
#include "resource.h"

CStringList g_mapPaths(10);
CStringList g_mapAddresses(10);
CStringList g_removedPaths(10);

CCriticalSection* g_csMapQueue = nullptr;
CCriticalSection* g_csRemovedQueue = nullptr;

CMappingOrigins g_mappingOrigins;

bool g_mapDlgActive = false;
bool g_removedDlgActive = false;
bool g_warningActive = false;

void CreateQueueLocks() {
    if (!g_csMapQueue) {
        g_csMapQueue = new CCriticalSection;
    }
    if (!g_csRemovedQueue) {
        g_csRemovedQueue = new CCriticalSection;
    }
}

void DeleteQueueLocks() {
    delete g_csMapQueue;
    g_csMapQueue = nullptr;
    delete g_csRemovedQueue;
    g_csRemovedQueue = nullptr;
}

void DropMapHead() {
    if (g_mapPaths.IsEmpty()) {
        return;
    }
    g_csMapQueue->Lock();
    g_mapPaths.RemoveHead();
    g_mapAddresses.RemoveHead();
    g_csMapQueue->Unlock();
}

void DropRemovedHead() {
    if (g_removedPaths.IsEmpty()) {
        return;
    }
    g_csRemovedQueue->Lock();
    g_removedPaths.RemoveHead();
    g_csRemovedQueue->Unlock();
}

HWND FindMainWindow() {
    CString title;
    title.LoadString(IDS_MAIN_TITLE);
    return ::FindWindowA(nullptr, title);
}

void EndChainStep(CDialog& dlg, bool bMore, WPARAM queue, int nResultWhenLast) {
    if (!bMore) {
        dlg.EndDialog(nResultWhenLast);
        return;
    }
    HWND hMain = FindMainWindow();
    dlg.EndDialog(IDCANCEL);
    ::PostMessageA(hMain, WM_PROCESSQUEUE, queue, 0);
}
