/// @file
/// Basic types of the Windows services that the framework and the demo are written against.
///
/// Handles are 32-bit values: indexes into the platform layer's own tables with a generation count,
/// so a stale handle is recognised and never dereferenced. WPARAM, LPARAM and LRESULT are 32-bit as
/// well, which keeps the 16-bit packing of mouse coordinates exactly as the framework expects it.
/// Unlike 64-bit Windows, no handle or message parameter can hold a pointer (see PtrToLParam).
#pragma once

#include <cstddef>
#include <cstdint>

#include <zelvo_export.h>

/// @name Calling conventions
/// Empty here: every call uses the platform's one C++ calling convention. <GL/gl.h> defines
/// APIENTRY (empty) too, and may come first.
///@{
#define WINAPI
#define CALLBACK
#ifndef APIENTRY
#define APIENTRY
#endif
///@}

/// 32-bit truth value: 0 is FALSE, any other value TRUE.
typedef int32_t BOOL;
/// Unsigned 8-bit integer.
typedef uint8_t BYTE;
/// Unsigned 16-bit integer.
typedef uint16_t WORD;
/// Unsigned 32-bit integer.
typedef uint32_t DWORD;
/// Signed 32-bit integer.
typedef int32_t INT;
/// Unsigned 32-bit integer.
typedef uint32_t UINT;
/// Signed 32-bit integer, as on Windows (not the C++ long).
typedef int32_t LONG;
/// Unsigned 32-bit integer.
typedef uint32_t ULONG;
/// Signed 16-bit integer.
typedef int16_t SHORT;
/// Unsigned 16-bit integer.
typedef uint16_t USHORT;
/// An 8-bit character (Windows-1252 text).
typedef char CHAR;
/// Single-precision float.
typedef float FLOAT;
/// Pointer to anything.
typedef void* LPVOID;
/// Pointer to anything constant.
typedef const void* LPCVOID;
/// Pointer to an 8-bit, zero-terminated string.
typedef char* LPSTR;
/// Pointer to a constant 8-bit, zero-terminated string.
typedef const char* LPCSTR;
/// Pointer to bytes.
typedef BYTE* LPBYTE;
/// Pointer to a DWORD.
typedef DWORD* LPDWORD;
/// Pointer to a LONG.
typedef LONG* LPLONG;
/// Unsigned integer of handle width: 32 bits here, where Windows makes it pointer-wide.
typedef uint32_t UINT_PTR;
/// Signed integer of handle width: 32 bits here, where Windows makes it pointer-wide.
typedef int32_t LONG_PTR;
/// Unsigned integer of handle width: 32 bits here, where Windows makes it pointer-wide.
typedef uint32_t ULONG_PTR;
/// Unsigned integer of handle width: 32 bits here, where Windows makes it pointer-wide.
typedef uint32_t DWORD_PTR;
/// A byte count (size_t).
typedef size_t SIZE_T;
/// A colour 0x00BBGGRR, made with RGB().
typedef uint32_t COLORREF;
/// A registered class's 16-bit identifier; 0 means failure.
typedef uint16_t ATOM;

#ifndef TRUE
/// The BOOL value a successful call returns.
#define TRUE 1
#endif
#ifndef FALSE
/// The BOOL value of failure or falsehood.
#define FALSE 0
#endif

/// First message parameter, 32 bits.
typedef uint32_t WPARAM;
/// Second message parameter, 32 bits (a pointer travels as a PtrToLParam token).
typedef int32_t LPARAM;
/// A window procedure's result, 32 bits.
typedef int32_t LRESULT;

/// A handle: a 32-bit index with a generation count into the layer's tables; 0 is none.
typedef uint32_t HANDLE;
/// A window.
typedef HANDLE HWND;
/// A device context.
typedef HANDLE HDC;
/// An OpenGL rendering context.
typedef HANDLE HGLRC;
/// Any GDI object (bitmap, palette, region, brush, pen, font).
typedef HANDLE HGDIOBJ;
/// A bitmap (a DIB section or a device-dependent bitmap).
typedef HANDLE HBITMAP;
/// A logical palette.
typedef HANDLE HPALETTE;
/// A region.
typedef HANDLE HRGN;
/// A brush.
typedef HANDLE HBRUSH;
/// A pen.
typedef HANDLE HPEN;
/// A font (no font services are offered; the type exists for records that name one).
typedef HANDLE HFONT;
/// A cursor.
typedef HANDLE HCURSOR;
/// An icon.
typedef HANDLE HICON;
/// A menu (no menu services are offered; for a child window it carries its identifier).
typedef HANDLE HMENU;
/// The program's module instance (see GetModuleHandleA).
typedef HANDLE HINSTANCE;
/// A module: the program itself is the only one.
typedef HANDLE HMODULE;
/// A global memory block (see GlobalAlloc).
typedef HANDLE HGLOBAL;

/// A window procedure: receives a window's messages and returns the message's result.
typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

/// A point in pixels.
typedef struct tagPOINT {
  LONG x;  ///< Horizontal position, growing to the right.
  LONG y;  ///< Vertical position, growing downwards.
} POINT, *PPOINT, *LPPOINT;
/// @typedef PPOINT
/// Pointer to a POINT.
/// @typedef LPPOINT
/// Pointer to a POINT.

/// An extent in pixels.
typedef struct tagSIZE {
  LONG cx;  ///< Width.
  LONG cy;  ///< Height.
} SIZE, *LPSIZE;
/// @typedef LPSIZE
/// Pointer to a SIZE.

/// A rectangle in pixels; right and bottom are exclusive.
typedef struct tagRECT {
  LONG left;    ///< Left edge.
  LONG top;     ///< Top edge.
  LONG right;   ///< One past the right edge.
  LONG bottom;  ///< One past the bottom edge.
} RECT, *PRECT, *LPRECT;
/// Pointer to a constant RECT.
typedef const RECT* LPCRECT;
/// @typedef PRECT
/// Pointer to a RECT.
/// @typedef LPRECT
/// Pointer to a RECT.

/// The low 16 bits of a 32-bit value.
#define LOWORD(l) ((WORD)(((DWORD)(l)) & 0xffff))
/// The high 16 bits of a 32-bit value.
#define HIWORD(l) ((WORD)((((DWORD)(l)) >> 16) & 0xffff))
/// The low 8 bits of a value.
#define LOBYTE(w) ((BYTE)(((DWORD)(w)) & 0xff))
/// Bits 8 to 15 of a value.
#define HIBYTE(w) ((BYTE)((((DWORD)(w)) >> 8) & 0xff))
/// A 32-bit value from a low and a high 16-bit half.
#define MAKELONG(a, b) \
  ((LONG)(((WORD)(((DWORD)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD)(b)) & 0xffff))) << 16))
/// A WPARAM from a low and a high 16-bit half.
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
/// An LPARAM from a low and a high 16-bit half (as mouse messages pack x and y).
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
/// An LRESULT from a low and a high 16-bit half.
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
/// The signed x coordinate of a mouse message's lParam.
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
/// The signed y coordinate of a mouse message's lParam.
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
/// A COLORREF from red, green and blue bytes.
#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
/// The red byte of a COLORREF.
#define GetRValue(rgb) (LOBYTE(rgb))
/// The green byte of a COLORREF.
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
/// The blue byte of a COLORREF.
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))
/// A resource name made of a 16-bit identifier (IDC_ARROW, IDI_APPLICATION, ...).
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
/// True when a resource name is a 16-bit identifier, not a string.
#define IS_INTRESOURCE(p) ((((uintptr_t)(p)) >> 16) == 0)

/// A token for `pointer` that fits a 32-bit LPARAM; 0 for the null pointer. Not a Windows call:
/// a 32-bit LPARAM cannot hold a 64-bit address, so messages that carry a pointer in LPARAM (the
/// creation data of WM_CREATE, the part array of SB_SETPARTS, ...) carry a token instead. The
/// token is registered for the current thread and recycled after 4096 further registrations, so
/// it is meant for the synchronous duration of one message. On Windows the same name casts.
ZELVO_PLATFORM_API LPARAM PtrToLParam(const void* pointer);
/// The address a PtrToLParam token of this thread stands for; null for 0 or a value that is not a
/// token. Not a Windows call (see PtrToLParam).
ZELVO_PLATFORM_API void* LParamToPtr(LPARAM token);
