/// @file
/// Native access, Linux only: the X display, X windows and GLX contexts behind the platform layer's
/// handles, for a program that makes its own Xlib or GLX calls beside the Windows-style ones (an
/// extension, a property, an event mask the layer does not set).
///
/// It includes <X11/Xlib.h> and <GL/glx.h> and only the layer's basic types, never <windows.h> or
/// Zelvo.h, so it can be included on its own beside Xlib and GLX. A file that also includes Zelvo.h
/// includes this header (or Xlib) first; see "Native access" in docs/using-the-library.md for the
/// names the two worlds share.
///
/// The objects stay the layer's: do not close the display, destroy the window or the context, or
/// change what the layer relies on (the window's event mask, its visual, the current context of
/// another thread). The layer reads every event of the display itself, so a program that wants
/// events selects them with XSelectInput and reads them as window messages.
#pragma once

#include <X11/Xlib.h>
#include <GL/glx.h>

#include "base.h"

/// The connection to the X server that every service of the layer uses, opened on first use from
/// $DISPLAY; nullptr when no display can be opened.
ZELVO_PLATFORM_API Display* ZelvoXDisplay(void);

/// The X window that holds the window's client area (the whole window for a child); 0 (None) for 0,
/// a stale handle or a destroyed window. SetPixelFormat may give a window a new X window with the
/// visual of its format, so ask again after it rather than keep the value.
ZELVO_PLATFORM_API Window ZelvoXWindow(HWND window);

/// The GLX context behind a rendering context from wglCreateContext; nullptr for 0 or a stale
/// handle.
ZELVO_PLATFORM_API GLXContext ZelvoGLXContext(HGLRC context);
