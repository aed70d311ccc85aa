// Kernel services: time, module handles, movable global memory.
#pragma once

#include "base.h"

ZELVO_PLATFORM_API DWORD GetTickCount(void);
ZELVO_PLATFORM_API void Sleep(DWORD milliseconds);
// The program's module instance handle; any name gives the same value, as the framework only ever
// asks for its own module.
ZELVO_PLATFORM_API HMODULE GetModuleHandleA(LPCSTR module_name);
#define GetModuleHandle GetModuleHandleA
ZELVO_PLATFORM_API DWORD GetLastError(void);
ZELVO_PLATFORM_API void SetLastError(DWORD error);

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

ZELVO_PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
ZELVO_PLATFORM_API HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
ZELVO_PLATFORM_API LPVOID GlobalLock(HGLOBAL block);
ZELVO_PLATFORM_API BOOL GlobalUnlock(HGLOBAL block);
ZELVO_PLATFORM_API HGLOBAL GlobalFree(HGLOBAL block);
ZELVO_PLATFORM_API SIZE_T GlobalSize(HGLOBAL block);

#define STARTF_USESHOWWINDOW 0x00000001u

typedef struct _STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput, hStdOutput, hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;

// How the program was asked to show its first window. A program started from a shell gets no
// request (dwFlags without STARTF_USESHOWWINDOW), so ShowWindow uses its default, SW_SHOWDEFAULT.
ZELVO_PLATFORM_API void GetStartupInfoA(LPSTARTUPINFOA info);
