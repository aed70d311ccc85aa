// Kernel services: time, module handles, error codes and their texts, file names, movable global
// memory.
#pragma once

#include <cstdarg>

#include "base.h"

ZELVO_PLATFORM_API DWORD GetTickCount(void);
ZELVO_PLATFORM_API void Sleep(DWORD milliseconds);
// The program's module instance handle; any name gives the same value, as the framework only ever
// asks for its own module.
ZELVO_PLATFORM_API HMODULE GetModuleHandleA(LPCSTR module_name);
#define GetModuleHandle GetModuleHandleA
// The path of the program's executable file, as GetModuleFileNameA gives it for module 0 or the
// program's own module (on Linux, /proc/self/exe). Returns its length; a name that does not fit is
// cut to size - 1 characters, terminated, and the call returns size with ERROR_INSUFFICIENT_BUFFER.
ZELVO_PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR file_name, DWORD size);
ZELVO_PLATFORM_API DWORD GetLastError(void);
ZELVO_PLATFORM_API void SetLastError(DWORD error);

// Error codes that failing calls leave for GetLastError, with the values Windows documents.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_READ_FAULT 30L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_NOT_LOCKED 158L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_NOT_ENOUGH_QUOTA 1816L

#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define MAKELANGID(primary, sub) ((((WORD)(sub)) << 10) | (WORD)(primary))
#define LANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01

// The system's text for an error code (FORMAT_MESSAGE_FROM_SYSTEM, with or without
// FORMAT_MESSAGE_IGNORE_INSERTS), in English, ending in "\r\n" as on Windows. Returns the length
// written without the terminating zero; 0 with ERROR_MR_MID_NOT_FOUND for a code without a text,
// ERROR_INSUFFICIENT_BUFFER when the text does not fit, ERROR_INVALID_PARAMETER for other flags.
ZELVO_PLATFORM_API DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD message_id,
                                        DWORD language_id, LPSTR buffer, DWORD size,
                                        va_list* arguments);

#define MAX_PATH 260
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080

// The current folder. Returns its length; when it does not fit, the size it needs (with the
// terminating zero) and the buffer is left alone.
ZELVO_PLATFORM_API DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
// FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_NORMAL (or FILE_ATTRIBUTE_READONLY) for
// anything else; INVALID_FILE_ATTRIBUTES with ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when
// nothing has that name. Names are matched as on Windows: without regard to case when the exact
// name does not exist.
ZELVO_PLATFORM_API DWORD GetFileAttributesA(LPCSTR name);

// Not a Windows function. Windows file names are case-insensitive; Linux ones are not. Copies to
// `found` the name of the existing file or folder that `name` designates on Windows: `name` itself
// when it exists, otherwise the path whose every component matches the one asked for without
// regard to ASCII case (an exact component first, then the others in byte order; "." and ".."
// are taken as they are). Returns the length of that name, 0 when nothing matches (GetLastError:
// ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND), or the size needed, with the zero, when it does
// not fit in `size` bytes (`found` untouched then).
ZELVO_PLATFORM_API DWORD ZelvoFindFileName(LPCSTR name, LPSTR found, DWORD size);

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
