// Runs a program to its end.
#include "RunProcess.h"

#include <windows.h>

#include <cstdio>

int RunProcess(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        // Said aloud so that a test failing on -1 tells a program that never started from one that ended so.
        std::fprintf(stderr, "RunProcess: CreateProcess failed with error %lu: %s\n", GetLastError(),
                     commandLine.c_str());
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
