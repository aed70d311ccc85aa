/// @file
/// The one seam between the Windows core of the layer and a backend (X, or null for tests): the
/// core calls these plain functions for everything native, and each backend implements all of
/// them. A call that fails leaves the Windows error code for GetLastError.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "pixel_format_choice.h"

namespace plat {

struct WindowObject;

/// What a backend keeps about one window (the X window, its visual...); owned by the backend.
struct NativeWindow;
/// A backend's rendering context behind an HGLRC.
struct NativeGLContext;

// Display and events.

/// Readies the backend to make windows; false, with ERROR_NOT_SUPPORTED, when it cannot.
bool native_prepare_windows();
/// The screen's size in pixels; 0 x 0 without a screen.
SIZE native_screen_size();
/// The screen's dots per inch across (`horizontal`) or down; 96 when it cannot say.
int native_screen_dpi(bool horizontal);
/// Turns the events that have already arrived into messages on the queue; never waits.
void native_pump_events();
/// Waits until an event arrives; false at once when none ever can.
bool native_wait_events();

// Windows. Each takes the window record; nothing happens for a window without a native part.

/// Makes the window's native part (w->native) under its parent's; false, with the reason, if not.
bool native_window_create(WindowObject* w);
/// Frees the native part; `with_window` false when the parent's destruction takes it down anyway.
void native_window_destroy(WindowObject* w, bool with_window);
/// Frees the native part of a window that was never destroyed (the program ends): memory only.
void native_window_forget(NativeWindow* native);
/// Gives the native window the record's title; false, with the reason, when refused.
bool native_window_set_title(WindowObject* w);
/// Moves and sizes the native window to the record's client rectangle; false when refused.
bool native_window_move_resize(WindowObject* w);
/// Shows the native window (a top-level one waits, bounded, until it is on the screen).
void native_window_show(WindowObject* w, bool activate);
/// Hides the native window.
void native_window_hide(WindowObject* w);
/// Iconifies a shown top-level native window, or brings it back.
void native_window_set_minimized(WindowObject* w, bool minimized);
/// Gives the native window the keyboard; with `unless_managed`, only where no window manager does.
void native_window_focus(WindowObject* w, bool unless_managed);
/// Asks the window manager to bring the top-level window to the front, and gives it the keyboard.
void native_window_bring_to_front(WindowObject* w);
/// Cuts the native window to the record's region (none: its rectangle).
void native_window_set_shape(WindowObject* w);
/// Gives the window what pixel format `format` needs (a GL visual); false when it cannot.
bool native_window_set_pixel_format(WindowObject* w, int format);

// Pointer and cursors.

/// Sends the pointer's events to the window alone (SetCapture); nullptr ends any grab.
void native_pointer_grab(WindowObject* w);
/// The pointer's position on the screen; false without a screen.
bool native_cursor_position(POINT* point);
/// Moves the pointer to a point of the screen; false without a screen.
bool native_set_cursor_position(int x, int y);
/// Frees the backend's cursor made for a cursor object (its `native_cursor`).
void native_cursor_destroy(unsigned long native_cursor);
/// Queues WM_MOUSEMOVE at the pointer's place to our deepest window under it (none: nothing).
void native_queue_move_under_pointer();

// Drawing on windows and the screen (`window` 0: the screen).

/// The size of the window's client area or of the screen, as the backend has it.
bool native_surface_size(HWND window, int* width, int* height);
/// Puts 0x00RRGGBB pixels (rows from the top) at (x, y) of the surface.
bool native_surface_put(HWND window, int x, int y, int width, int height, const uint32_t* pixels);
/// Reads 0x00RRGGBB pixels from (x, y) of the surface; false when it cannot be read.
bool native_surface_get(HWND window, int x, int y, int width, int height, uint32_t* pixels);

/// One part of a status bar: its right edge (-1: the end) and its Windows-1252 text.
struct StatusBarPart {
  int right = -1;    ///< client x of the right edge; -1 reaches the end
  std::string text;  ///< 8-bit, as given
  WORD kind = 0;     ///< SBT_* bits, reported back by SB_GETTEXTA
};
/// Draws a status bar's face and the text of its parts on its window.
void native_status_bar_draw(HWND bar, const std::vector<StatusBarPart>& parts);

// OpenGL.

/// The display's pixel formats, in a fixed order (index + 1 is the format number).
const std::vector<PixelFormatTraits>& native_pixel_formats();
/// A new context for windows of pixel format `format`; nullptr, with the reason, when refused.
NativeGLContext* native_gl_create(int format);
/// Frees a context (not current on any thread).
void native_gl_delete(NativeGLContext* context);
/// Makes the context current on the window (nullptr and 0: none current); false when refused.
bool native_gl_make_current(HWND window, NativeGLContext* context);
/// Shows the back buffer of the window's current drawing.
bool native_gl_swap(HWND window);
/// Whether the display offers a swap control (WGL_EXT_swap_control can be listed).
bool native_gl_has_swap_control();
/// Sets the current drawable's swap interval; false, when no control takes it.
bool native_gl_set_swap_interval(int interval);
/// The current drawable's swap interval as the display reports it; -1 when it cannot say.
int native_gl_reported_swap_interval();

// Message boxes: shown as modal windows of their own, registered while up (message_box_registry.h)
// so that other threads may find and answer them.

/// Shows a box, registers it and runs its modal loop; the button chosen, or 0 when no box can be
/// shown.
int native_message_box_run(HWND owner, const std::string& caption, const std::string& text,
                           UINT type);

}  // namespace plat
