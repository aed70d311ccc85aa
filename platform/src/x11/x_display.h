// The one connection to the X server that every service of the layer shares.
#pragma once

#include <X11/Xlib.h>
#include <windows.h>

namespace plat {

// Opens the connection on first use (from $DISPLAY) and returns it; nullptr when no display can be
// opened. X protocol errors never abort the program: a call whose requests may be refused makes
// them inside an XErrorTrap and fails with a Windows error code. Losing the server ends the program
// with a message and status 1.
Display* x_display();

// Catches the X protocol errors of the requests made while it lives (on this thread), so that the
// Windows call that made them fails with a reason instead of the error going unseen. Traps nest:
// an error goes to the innermost one. One outside every trap is counted by x_stray_errors().
class XErrorTrap {
 public:
  XErrorTrap();  // waits for earlier requests first, so that their errors are not taken for ours
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits until the server has processed every request so far and returns the X error code of the
  // first of this trap's requests that failed, 0 when none did.
  int sync();
  // sync(); when a request failed, also leaves the matching Windows code for GetLastError. True
  // when every request succeeded.
  bool succeeded();

  void record(int code) {
    if (error_ == 0) error_ = code;
  }

 private:
  XErrorTrap* outer_;
  int error_ = 0;
};

// The Windows error code for an X protocol error code: a window or drawable that does not exist is
// ERROR_INVALID_WINDOW_HANDLE, an exhausted server ERROR_NOT_ENOUGH_MEMORY, a mismatch or a value
// out of range ERROR_INVALID_PARAMETER, anything else (another missing resource, an extension's
// error) ERROR_INVALID_HANDLE.
DWORD windows_error_of_x(int x_error);

// X errors that arrived while no trap was set, since the start: each is a request that the layer
// made without being ready to report its failure. Tests hold this at zero.
int x_stray_errors();

// The default screen's size in pixels (0 x 0 without a display).
int x_screen_width();
int x_screen_height();

// The screen's resolution in dots per inch across (horizontal) or down: the Xft.dpi resource when
// the server's resource database sets it (what desktops change for scaling), else the default
// screen's size in pixels over its size in millimetres, rounded; 96 without a display or a size.
int x_screen_dpi(bool horizontal);

// Interned atoms, cached.
Atom x_atom(const char* name);

}  // namespace plat
