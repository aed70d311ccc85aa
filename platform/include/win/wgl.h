/// @file
/// The OpenGL binding: pixel formats, rendering contexts and buffer swaps, on GLX.
///
/// A pixel format is a 1-based index into the display's list of GL frame-buffer configurations that
/// can draw to a window. Pixel formats belong to windows: SetPixelFormat gives a window its format
/// once, and every device context of that window then reports it. These calls report failure by
/// their result only.
#pragma once

#include "base.h"

/// A pixel format's description, the Windows record (40 bytes): what ChoosePixelFormat is asked
/// for and what DescribePixelFormat reports.
typedef struct tagPIXELFORMATDESCRIPTOR {
  /// @{

  /// A field of the Windows record, with its Windows meaning: nSize and nVersion (1) identify the
  /// record, dwFlags holds PFD_* flags, iPixelType a PFD_TYPE_*, the c*Bits and c*Shift fields
  /// give buffer sizes in bits, iLayerType a PFD_*_PLANE; the masks are not used.
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
  /// @}
} PIXELFORMATDESCRIPTOR, *PPIXELFORMATDESCRIPTOR, *LPPIXELFORMATDESCRIPTOR;
/// @typedef PPIXELFORMATDESCRIPTOR
/// Pointer to a PIXELFORMATDESCRIPTOR.
/// @typedef LPPIXELFORMATDESCRIPTOR
/// Pointer to a PIXELFORMATDESCRIPTOR.

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40,
              "PIXELFORMATDESCRIPTOR must keep its 40-byte layout");

/// @name Pixel format flags (PIXELFORMATDESCRIPTOR::dwFlags)
/// The Windows values. ChoosePixelFormat requires PFD_DOUBLEBUFFER, PFD_DRAW_TO_WINDOW and
/// PFD_SUPPORT_OPENGL when asked for, prefers a matching PFD_STEREO and honours the _DONTCARE
/// flags; the bitmap, GDI, palette, DirectDraw and swap-method flags do not influence the choice.
///@{

/// A pixel format flag.
#define PFD_DOUBLEBUFFER 0x00000001u
#define PFD_STEREO 0x00000002u
#define PFD_DRAW_TO_WINDOW 0x00000004u
#define PFD_DRAW_TO_BITMAP 0x00000008u
#define PFD_SUPPORT_GDI 0x00000010u
#define PFD_SUPPORT_OPENGL 0x00000020u
#define PFD_GENERIC_FORMAT 0x00000040u
#define PFD_NEED_PALETTE 0x00000080u
#define PFD_NEED_SYSTEM_PALETTE 0x00000100u
#define PFD_SWAP_EXCHANGE 0x00000200u
#define PFD_SWAP_COPY 0x00000400u
#define PFD_SWAP_LAYER_BUFFERS 0x00000800u
#define PFD_GENERIC_ACCELERATED 0x00001000u
#define PFD_SUPPORT_DIRECTDRAW 0x00002000u
#define PFD_DIRECT3D_ACCELERATED 0x00004000u
#define PFD_SUPPORT_COMPOSITION 0x00008000u
#define PFD_DEPTH_DONTCARE 0x20000000u
#define PFD_DOUBLEBUFFER_DONTCARE 0x40000000u
#define PFD_STEREO_DONTCARE 0x80000000u
///@}

#define PFD_TYPE_RGBA 0        ///< iPixelType: RGBA pixels.
#define PFD_TYPE_COLORINDEX 1  ///< iPixelType: colour-index pixels (only if GLX offers them).

#define PFD_MAIN_PLANE 0         ///< iLayerType: the main plane.
#define PFD_OVERLAY_PLANE 1      ///< iLayerType: an overlay plane (a preference only).
#define PFD_UNDERLAY_PLANE (-1)  ///< iLayerType: an underlay plane (a preference only).

/// The 1-based format closest to the descriptor, as Windows picks it: double buffering, RGBA,
/// window drawing and OpenGL support are requirements when asked for; the buffer sizes, stereo,
/// auxiliary buffers and the layer are preferences. 0 when no format can satisfy the requirements,
/// there is no display, `dc` is not a device context or `descriptor` is null.
ZELVO_PLATFORM_API int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);

/// Copies the description of format `format` into `descriptor` (at most `bytes` bytes of it) and
/// returns the number of formats; with a null `descriptor` only the count. 0 when `format` is out
/// of range or `dc` is not a device context.
ZELVO_PLATFORM_API int DescribePixelFormat(HDC dc, int format, UINT bytes,
                                           LPPIXELFORMATDESCRIPTOR descriptor);

/// Gives the device context's window its pixel format; `descriptor` is not used, as on Windows.
/// FALSE for format 0, an unknown format, a context without a live window, and a window that has
/// another format already (its own format again succeeds and changes nothing). The window's X
/// window is replaced by one of the format's visual; its handle stays.
ZELVO_PLATFORM_API BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);

/// The format of the device context's window; 0 when it has none or `dc` is not valid.
ZELVO_PLATFORM_API int GetPixelFormat(HDC dc);

/// A new rendering context for the pixel format of the device context's window: a direct GLX
/// context of the compatibility profile (the fixed-function pipeline works). 0 when the window has
/// no pixel format, `dc` is not valid or GLX refuses. Delete it with wglDeleteContext.
ZELVO_PLATFORM_API HGLRC wglCreateContext(HDC dc);

/// Makes `context` current on the calling thread, drawing to the device context's window; `context`
/// 0 makes the current context no longer current (FALSE when none was). FALSE when the window's
/// pixel format is not the context's, or a handle is not valid.
ZELVO_PLATFORM_API BOOL wglMakeCurrent(HDC dc, HGLRC context);

/// Deletes the context, releasing it first when it is current on this thread; FALSE for a handle
/// that is not a rendering context.
ZELVO_PLATFORM_API BOOL wglDeleteContext(HGLRC context);

/// The rendering context current on the calling thread; 0 when none is.
ZELVO_PLATFORM_API HGLRC wglGetCurrentContext(void);
/// The device context given to the wglMakeCurrent that made the current context current; 0 when
/// none is.
ZELVO_PLATFORM_API HDC wglGetCurrentDC(void);

/// Shows the back buffer of the device context's window (glXSwapBuffers, which flushes the current
/// context's commands). FALSE when `dc` has no live window.
ZELVO_PLATFORM_API BOOL SwapBuffers(HDC dc);

/// A function that wglGetProcAddress finds; cast it to the function's own type (one of the PFN*
/// types below) before calling it.
typedef int(WINAPI* PROC)(void);

/// The address of a function of the binding's extensions, for the context current on the calling
/// thread: "wglGetExtensionsStringEXT", "wglSwapIntervalEXT" and "wglGetSwapIntervalEXT" (names
/// match exactly). Null when no context is current, for a null name, and for any other name, GL
/// functions included (ERROR_PROC_NOT_FOUND); a program links the GL functions it uses.
ZELVO_PLATFORM_API PROC wglGetProcAddress(LPCSTR name);

/// wglGetExtensionsStringEXT, found with wglGetProcAddress: the binding's extensions, separated by
/// spaces. WGL_EXT_swap_control is among them when the X server offers a GLX swap control.
typedef const char*(WINAPI* PFNWGLGETEXTENSIONSSTRINGEXTPROC)(void);
/// wglSwapIntervalEXT, found with wglGetProcAddress: makes SwapBuffers of the current context's
/// window wait for `interval` vertical retraces (0: no wait, vertical sync off), through the first
/// GLX swap control the server offers and accepts (GLX_EXT_swap_control, GLX_MESA_swap_control,
/// GLX_SGI_swap_control, which cannot turn the wait off). FALSE with ERROR_INVALID_DATA for a
/// negative interval, ERROR_INVALID_HANDLE when no context is current, ERROR_NOT_SUPPORTED when
/// the server offers no swap control or refuses the interval.
typedef BOOL(WINAPI* PFNWGLSWAPINTERVALEXTPROC)(int interval);
/// wglGetSwapIntervalEXT, found with wglGetProcAddress: the interval the current context's window
/// swaps at: the last one wglSwapIntervalEXT set through this context, else what the server
/// reports, else 1 (the usual default). 0 when no context is current.
typedef int(WINAPI* PFNWGLGETSWAPINTERVALEXTPROC)(void);
