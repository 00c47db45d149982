// Runs a program to its end, for Windows test programs that drive a tool or another copy of themselves.
#pragma once

#include <string>

// The program's exit code, or -1 when it could not start. commandLine quotes the program's path itself.
int RunProcess(std::string commandLine);
