/// @file
/// Kernel services: time, module handles, the last-error value and its texts, file names, movable
/// global memory.
#pragma once

#include <cstdarg>

#include "base.h"

/// Milliseconds since an arbitrary start (the monotonic clock here, not system start-up), wrapping
/// at 2^32 as on Windows.
ZELVO_PLATFORM_API DWORD GetTickCount(void);
/// Suspends the calling thread for at least `milliseconds`.
ZELVO_PLATFORM_API void Sleep(DWORD milliseconds);
/// A signed 64-bit value, as Windows passes counters: QuadPart, or its two 32-bit halves.
typedef union _LARGE_INTEGER {
  /// The halves, as named members. ISO C++ has no anonymous structs, but Windows programs write
  /// `value.LowPart`; __extension__ keeps -Wpedantic quiet in programs that include this header
  /// through -I rather than -isystem, with the same fields and layout.
  __extension__ struct {
    DWORD LowPart;  ///< The low 32 bits.
    LONG HighPart;  ///< The high 32 bits, with the sign.
  };
  /// The halves again, under the name older code uses.
  struct {
    DWORD LowPart;  ///< The low 32 bits.
    LONG HighPart;  ///< The high 32 bits, with the sign.
  } u;
  int64_t QuadPart;  ///< The whole value.
} LARGE_INTEGER, *PLARGE_INTEGER;
/// @typedef PLARGE_INTEGER
/// Pointer to a LARGE_INTEGER.

/// The high-resolution counter: ticks of the monotonic clock since an arbitrary start, at the rate
/// QueryPerformanceFrequency gives; it never goes back. FALSE with ERROR_INVALID_PARAMETER for a
/// null `count`.
ZELVO_PLATFORM_API BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
/// The ticks per second of QueryPerformanceCounter: 10 MHz, the rate Windows commonly reports, the
/// same for the life of the system. FALSE with ERROR_INVALID_PARAMETER for a null `frequency`.
ZELVO_PLATFORM_API BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
/// The program's module instance handle (a constant, non-zero value). Where Windows looks the named
/// module up, any name gives the same value here, as the framework only asks for its own module.
ZELVO_PLATFORM_API HMODULE GetModuleHandleA(LPCSTR module_name);
/// The ANSI name, as Windows headers map it.
#define GetModuleHandle GetModuleHandleA
/// The path of the program's executable file, as GetModuleFileNameA gives it for module 0 or the
/// program's own module (on Linux, /proc/self/exe). Returns its length; a name that does not fit
/// is cut to size - 1 characters, terminated, and the call returns size with
/// ERROR_INSUFFICIENT_BUFFER.
ZELVO_PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR file_name, DWORD size);
/// The calling thread's last-error code, set by the latest call that failed (one of the ERROR_*
/// codes below).
ZELVO_PLATFORM_API DWORD GetLastError(void);
/// Sets the calling thread's last-error code.
ZELVO_PLATFORM_API void SetLastError(DWORD error);

/// @name Error codes
/// What failing calls leave for GetLastError, with the values Windows documents; FormatMessageA
/// gives their texts.
///@{

/// An error code.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_READ_FAULT 30L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_NOT_LOCKED 158L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_NO_MORE_USER_HANDLES 1158L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_TLW_WITH_WSCHILD 1406L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_CLASS_DOES_NOT_EXIST 1411L
#define ERROR_CLASS_HAS_WINDOWS 1412L
#define ERROR_NOT_ENOUGH_QUOTA 1816L
#define ERROR_INVALID_PIXEL_FORMAT 2000L
///@}

/// @name FormatMessageA flags and languages
/// The flags FormatMessageA accepts, and the one language it offers (English).
///@{

/// A FormatMessageA flag or language part.
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define LANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
///@}
/// A language identifier made of a primary language and a sublanguage.
#define MAKELANGID(primary, sub) ((((WORD)(sub)) << 10) | (WORD)(primary))

/// The system's text for an error code (FORMAT_MESSAGE_FROM_SYSTEM, with or without
/// FORMAT_MESSAGE_IGNORE_INSERTS), in English, ending in "\r\n" as on Windows. Returns the length
/// written without the terminating zero; 0 with ERROR_MR_MID_NOT_FOUND for a code without a text,
/// ERROR_INSUFFICIENT_BUFFER when the text does not fit, ERROR_INVALID_PARAMETER for other flags.
ZELVO_PLATFORM_API DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD message_id,
                                        DWORD language_id, LPSTR buffer, DWORD size,
                                        va_list* arguments);

/// The longest path Windows programs expect, with the terminating zero.
#define MAX_PATH 260
/// What GetFileAttributesA returns when nothing has the name.
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
/// @name File attributes
/// What GetFileAttributesA reports.
///@{

/// A file attribute.
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080
///@}

/// The current folder. Returns its length; when it does not fit, the size it needs (with the
/// terminating zero) and the buffer is left alone.
ZELVO_PLATFORM_API DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
/// FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_NORMAL (or FILE_ATTRIBUTE_READONLY) for
/// anything else; INVALID_FILE_ATTRIBUTES with ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when
/// nothing has that name, ERROR_ACCESS_DENIED when a folder on the way cannot be read or searched.
/// Names are matched as on Windows when the exact name does not exist (see ZelvoFindFileName).
ZELVO_PLATFORM_API DWORD GetFileAttributesA(LPCSTR name);

/// Not a Windows function. Windows file names are case-insensitive and a program's are in its code
/// page (Windows-1252); Linux ones are case-sensitive bytes, UTF-8 by custom. Copies to `found` the
/// name of the existing file or folder that `name` designates on Windows: `name` itself when it
/// exists, otherwise the path whose every component matches the one asked for: an entry of the
/// same bytes without regard to ASCII case, or one whose UTF-8 name is the same Windows-1252 text
/// without regard to case as Windows folds it (0xE9, e acute, finds either case of it in UTF-8).
/// The entry of the same bytes comes first, then the one whose UTF-8 is the component's text, then
/// the others in byte order; "." and ".." are taken as they are. The work grows with the length of
/// `name`, whatever links the folders hold. Returns the length of that name, 0 when nothing matches
/// (GetLastError: ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND, or ERROR_ACCESS_DENIED when a
/// folder on the way cannot be read or searched), or the size needed, with the zero, when it does
/// not fit in `size` bytes (`found` untouched then).
ZELVO_PLATFORM_API DWORD ZelvoFindFileName(LPCSTR name, LPSTR found, DWORD size);

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
