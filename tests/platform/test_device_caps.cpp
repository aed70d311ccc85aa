// GetDeviceCaps reports the resolution the X server states: its Xft.dpi resource when set, else its
// pixel and millimetre sizes. Each reading runs in a child process, because the layer opens its one
// display connection (and reads the resource database) once per process.
#include <gtest/gtest.h>
#include <windows.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "demo_session.h"

namespace {

using zelvo_test::XServer;

struct Reading {
  int screen_x = -1, screen_y = -1, memory_x = -1, other_index = -1, no_dc = -1;
};

// GetDeviceCaps as a program started on `display` sees it ("" for no display at all).
Reading read_caps(const std::string& display) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    if (display.empty())
      unsetenv("DISPLAY");
    else
      setenv("DISPLAY", display.c_str(), 1);
    Reading r;
    HDC screen = GetDC(0);
    HDC memory = CreateCompatibleDC(screen);
    r.screen_x = GetDeviceCaps(screen, LOGPIXELSX);
    r.screen_y = GetDeviceCaps(screen, LOGPIXELSY);
    r.memory_x = GetDeviceCaps(memory, LOGPIXELSX);
    r.other_index = GetDeviceCaps(screen, 12);  // BITSPIXEL: not offered
    DeleteDC(memory);
    ReleaseDC(0, screen);
    r.no_dc = GetDeviceCaps(screen, LOGPIXELSX);  // released: no longer a device context
    const bool written = write(fds[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
    _exit(written ? 0 : 1);
  }
  close(fds[1]);
  Reading r;
  if (read(fds[0], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) r = {};
  close(fds[0]);
  waitpid(child, nullptr, 0);
  return r;
}

void set_resources(const std::string& display, const std::string& resources) {
  Display* d = XOpenDisplay(display.c_str());
  ASSERT_TRUE(d);
  XChangeProperty(d, DefaultRootWindow(d), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources.data()),
                  static_cast<int>(resources.size()));
  XCloseDisplay(d);
}

TEST(DeviceCaps, ResolutionFollowsTheServer) {
  XServer server(false, true, {"-dpi", "120"});
  ASSERT_TRUE(server.ok());
  Reading r = read_caps(server.display());
  EXPECT_EQ(r.screen_x, 120) << "from the screen's millimetre size";
  EXPECT_EQ(r.screen_y, 120);
  EXPECT_EQ(r.memory_x, 120) << "a memory context is the screen's";
  EXPECT_EQ(r.other_index, 0);
  EXPECT_EQ(r.no_dc, 0);

  // Desktops scale through Xft.dpi; it wins over the sizes, rounded to whole dots.
  set_resources(server.display(), "Xcursor.size:\t24\nXft.dpi:\t143.6\n");
  r = read_caps(server.display());
  EXPECT_EQ(r.screen_x, 144);
  EXPECT_EQ(r.screen_y, 144);

  // A value that is not a number is ignored.
  set_resources(server.display(), "Xft.dpi:\tlarge\n");
  r = read_caps(server.display());
  EXPECT_EQ(r.screen_x, 120);
}

TEST(DeviceCaps, NinetySixWithoutADisplay) {
  const Reading r = read_caps("");
  EXPECT_EQ(r.screen_x, 96);
  EXPECT_EQ(r.screen_y, 96);
}

}  // namespace
