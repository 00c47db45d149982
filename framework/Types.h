// Base types of the window class library. In the Windows build they come from windows.h; the portable
// classes (strings, lists, maps, lock) also build natively, where this header supplies the few they use.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef char TCHAR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#endif

// Opaque iterator of the list and map classes: a pointer to one of their nodes, NULL past the end.
struct __POSITION {};
typedef __POSITION* POSITION;
