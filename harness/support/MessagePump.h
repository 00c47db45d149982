// Message pumps for Windows test programs: what is queued, or until a condition holds.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches every message queued for the thread; returns how many.
int PumpMessages();

// Dispatches messages with pump (the framework's own, where a test drives its windows) until done() holds
// or dwTimeout ms have passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeout, int (*pump)() = PumpMessages);

// Dispatches messages with pump for dwMilliseconds of real time: what is in flight arrives meanwhile.
void PumpFor(DWORD dwMilliseconds, int (*pump)());
