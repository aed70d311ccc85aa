// The OpenGL binding: pixel formats, rendering contexts and buffer swaps.
//
// A pixel format is a 1-based index into the display's list of GL frame-buffer configurations that
// can draw to a window. Pixel formats belong to windows: SetPixelFormat gives a window its format
// once, and every device context of that window then reports it.
#pragma once

#include "base.h"

typedef struct tagPIXELFORMATDESCRIPTOR {
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
} PIXELFORMATDESCRIPTOR, *PPIXELFORMATDESCRIPTOR, *LPPIXELFORMATDESCRIPTOR;

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40,
              "PIXELFORMATDESCRIPTOR must keep its 40-byte layout");

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

#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1

#define PFD_MAIN_PLANE 0
#define PFD_OVERLAY_PLANE 1
#define PFD_UNDERLAY_PLANE (-1)

// The format closest to the descriptor: double buffering, RGBA, window drawing and OpenGL support
// are requirements when asked for; the buffer sizes, stereo, auxiliary buffers and the layer are
// preferences. 0 only when no format can satisfy the requirements (or there is no display).
ZELVO_PLATFORM_API int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);

// Fills `descriptor` (when not null and `bytes` covers it) with format `format`; returns the number
// of formats, or 0 when `format` is out of range.
ZELVO_PLATFORM_API int DescribePixelFormat(HDC dc, int format, UINT bytes,
                                           LPPIXELFORMATDESCRIPTOR descriptor);

// Gives the device context's window its pixel format. Fails for format 0, an unknown format, a
// context without a live window, and a window that has a format already.
ZELVO_PLATFORM_API BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);

// The format of the device context's window; 0 when it has none.
ZELVO_PLATFORM_API int GetPixelFormat(HDC dc);

// A rendering context for the pixel format of the device context's window (which must have one).
ZELVO_PLATFORM_API HGLRC wglCreateContext(HDC dc);

// Makes `context` current on this thread, drawing to the device context's window; `context` 0 makes
// the current context no longer current (FALSE when none was).
ZELVO_PLATFORM_API BOOL wglMakeCurrent(HDC dc, HGLRC context);

// Deletes the context, releasing it first when it is current on this thread.
ZELVO_PLATFORM_API BOOL wglDeleteContext(HGLRC context);

ZELVO_PLATFORM_API HGLRC wglGetCurrentContext(void);
ZELVO_PLATFORM_API HDC wglGetCurrentDC(void);

// Shows the back buffer of the device context's window.
ZELVO_PLATFORM_API BOOL SwapBuffers(HDC dc);
