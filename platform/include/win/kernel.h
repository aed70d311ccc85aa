/// @file
/// Kernel services: time, module handles, the last-error value, movable global memory.
#pragma once

#include "base.h"

/// Milliseconds since an arbitrary start (the monotonic clock here, not system start-up), wrapping
/// at 2^32 as on Windows.
ZELVO_PLATFORM_API DWORD GetTickCount(void);
/// Suspends the calling thread for at least `milliseconds`.
ZELVO_PLATFORM_API void Sleep(DWORD milliseconds);
/// The program's module instance handle (a constant, non-zero value). Where Windows looks the named
/// module up, any name gives the same value here, as the framework only asks for its own module.
ZELVO_PLATFORM_API HMODULE GetModuleHandleA(LPCSTR module_name);
/// The ANSI name, as Windows headers map it.
#define GetModuleHandle GetModuleHandleA
/// The calling thread's last-error code, set by the latest call that failed (Windows codes, such
/// as 6 for an invalid handle).
ZELVO_PLATFORM_API DWORD GetLastError(void);
/// Sets the calling thread's last-error code.
ZELVO_PLATFORM_API void SetLastError(DWORD error);

/// GlobalAlloc: a block that does not move (still reached through its handle).
#define GMEM_FIXED 0x0000
/// GlobalAlloc, GlobalReAlloc: the block may move.
#define GMEM_MOVEABLE 0x0002
/// GlobalAlloc, GlobalReAlloc: new bytes are zero.
#define GMEM_ZEROINIT 0x0040
/// Movable and zeroed.
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
/// Fixed and zeroed.
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

/// A global memory block of `bytes` bytes (GMEM_* flags); 0 with ERROR_NOT_ENOUGH_MEMORY when the
/// memory is not there. Unlike Windows, a fixed block too is a handle, never a pointer: a 32-bit
/// handle cannot hold an address, so GlobalLock gives the pointer. Freed with GlobalFree.
ZELVO_PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
/// Resizes a block, keeping its contents up to the smaller size (GMEM_ZEROINIT clears what is
/// added); GMEM_MODIFY (0x80) changes only the movable flag. A movable block that grows always
/// moves, so a pointer kept across the call fails in testing rather than by luck; a block that may
/// not move can only shrink. Returns the same handle, or 0 (ERROR_NOT_ENOUGH_MEMORY,
/// ERROR_INVALID_HANDLE).
ZELVO_PLATFORM_API HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
/// The block's address, counting one more lock; null for an invalid handle.
ZELVO_PLATFORM_API LPVOID GlobalLock(HGLOBAL block);
/// Counts one lock off. TRUE while the block stays locked; FALSE when this was the last lock (last
/// error 0), when it was not locked (ERROR_NOT_LOCKED) or for an invalid handle.
ZELVO_PLATFORM_API BOOL GlobalUnlock(HGLOBAL block);
/// Frees the block, locked or not. Returns 0 on success, the handle itself on failure.
ZELVO_PLATFORM_API HGLOBAL GlobalFree(HGLOBAL block);
/// The block's size in bytes as last allocated; 0 for an invalid handle.
ZELVO_PLATFORM_API SIZE_T GlobalSize(HGLOBAL block);

/// STARTUPINFOA::dwFlags: wShowWindow holds a ShowWindow command for the first window.
#define STARTF_USESHOWWINDOW 0x00000001u

/// How the program was started. Only cb, dwFlags and wShowWindow carry values here; the other
/// fields are zero.
typedef struct _STARTUPINFOA {
  /// @{
  /// A field of the Windows record; only cb, dwFlags and wShowWindow are filled, the rest is zero.
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
  /// @}
} STARTUPINFOA, *LPSTARTUPINFOA;
/// @typedef LPSTARTUPINFOA
/// Pointer to a STARTUPINFOA.

/// How the program was asked to show its first window. A program started from a shell gets no
/// request (dwFlags without STARTF_USESHOWWINDOW, wShowWindow SW_SHOWDEFAULT), so ShowWindow uses
/// its default. A null `info` is ignored.
ZELVO_PLATFORM_API void GetStartupInfoA(LPSTARTUPINFOA info);
