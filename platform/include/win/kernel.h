// Kernel services: time, module handles, movable global memory.
#pragma once

#include "base.h"

DWORD GetTickCount(void);
void Sleep(DWORD milliseconds);
// The program's module instance handle; any name gives the same value, as the framework only ever
// asks for its own module.
HMODULE GetModuleHandleA(LPCSTR module_name);
#define GetModuleHandle GetModuleHandleA
DWORD GetLastError(void);
void SetLastError(DWORD error);

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);

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
void GetStartupInfoA(LPSTARTUPINFOA info);
