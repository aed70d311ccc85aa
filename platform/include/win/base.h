// Basic types of the Windows services that the framework and the demo are written against.
//
// Handles are 32-bit values: indexes into the platform layer's own tables with a generation count,
// so a stale handle is recognised and never dereferenced. WPARAM, LPARAM and LRESULT are 32-bit as
// well, which keeps the 16-bit packing of mouse coordinates exactly as the framework expects it.
#pragma once

#include <cstddef>
#include <cstdint>

#include <zelvo_export.h>

// Calling conventions mean nothing on Linux. <GL/gl.h> defines APIENTRY (empty) too, and may come
// first.
#define WINAPI
#define CALLBACK
#ifndef APIENTRY
#define APIENTRY
#endif

typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef char CHAR;
typedef float FLOAT;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef uint32_t UINT_PTR;
typedef int32_t LONG_PTR;
typedef uint32_t ULONG_PTR;
typedef uint32_t DWORD_PTR;
typedef size_t SIZE_T;
typedef uint32_t COLORREF;
typedef uint16_t ATOM;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef uint32_t WPARAM;
typedef int32_t LPARAM;
typedef int32_t LRESULT;

typedef uint32_t HANDLE;
typedef HANDLE HWND;
typedef HANDLE HDC;
typedef HANDLE HGLRC;
typedef HANDLE HGDIOBJ;
typedef HANDLE HBITMAP;
typedef HANDLE HPALETTE;
typedef HANDLE HRGN;
typedef HANDLE HBRUSH;
typedef HANDLE HPEN;
typedef HANDLE HFONT;
typedef HANDLE HCURSOR;
typedef HANDLE HICON;
typedef HANDLE HMENU;
typedef HANDLE HINSTANCE;
typedef HANDLE HMODULE;
typedef HANDLE HGLOBAL;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

#define LOWORD(l) ((WORD)(((DWORD)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD)(w)) >> 8) & 0xff))
#define MAKELONG(a, b) \
  ((LONG)(((WORD)(((DWORD)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(p) ((((uintptr_t)(p)) >> 16) == 0)

// A 32-bit LPARAM cannot hold a 64-bit address. Messages that carry a pointer in LPARAM (the
// creation data of WM_CREATE, the part array of SB_SETPARTS, ...) carry a token instead:
// PtrToLParam registers the address for the current thread and LParamToPtr turns the token back.
// Tokens are recycled after a few thousand further registrations, so they are meant for the
// synchronous duration of one message.
ZELVO_PLATFORM_API LPARAM PtrToLParam(const void* pointer);
ZELVO_PLATFORM_API void* LParamToPtr(LPARAM token);
