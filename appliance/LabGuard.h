// Refuses to run a program that sends datagrams outside the project's network lab: the process must share
// its network namespace with one of the lab's named namespaces (/run/netns/zt*). Link zt_labguard and call
// RequireLabNamespace first thing in main, before any socket exists.
#pragma once

#include <string>

// The name of the lab namespace this process runs in, or an empty string outside every lab.
// selfNamespace and namespaceDir are parameters so that tests can point them at files of their own.
std::string FindLabNamespace(const char* selfNamespace = "/proc/self/ns/net", const char* namespaceDir = "/run/netns");

// Returns the lab namespace's name, or prints a REFUSED message naming `program` and exits with status 3.
std::string RequireLabNamespace(const char* program);
