// BitBlt onto a real X window: the pixels a memory bitmap paints through the window's context, read
// back from the server with XGetImage, and the contexts stale once the window is gone.
#include <gtest/gtest.h>
#include <windows.h>
// X11 after GoogleTest: its macros (None, Bool) clash with GoogleTest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include "dib_sections.h"
#include "window_internal.h"
#include "x_display.h"

namespace {

using zelvo_test::make_dib;

LRESULT CALLBACK plain_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

TEST(BitBlt, PaintsOntoAWindow) {
  Display* display = plat::x_display();
  ASSERT_NE(display, nullptr) << "the test needs an X display";
  WNDCLASSA wc{};
  wc.lpfnWndProc = plain_proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = "GdiBlitTarget";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND window = CreateWindowExA(0, "GdiBlitTarget", "blit", WS_POPUP | WS_VISIBLE, 50, 60, 40, 30,
                                0, 0, wc.hInstance, nullptr);
  ASSERT_NE(window, 0u);
  ShowWindow(window, SW_SHOW);
  ::Window xw = plat::x_window(window);
  XSync(display, False);
  for (int i = 0; i < 100; ++i) {  // until the server maps it
    XWindowAttributes a;
    XGetWindowAttributes(display, xw, &a);
    if (a.map_state == IsViewable) break;
    usleep(10000);
  }

  // An 8-bit bitmap: a left half of colour 1, a right half of colour 2.
  void* bits = nullptr;
  HBITMAP bitmap = make_dib(20, 10, 8, &bits, {0x000000, 0x3366CC, 0xCC9933});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) static_cast<uint8_t*>(bits)[y * 20 + x] = x < 10 ? 1 : 2;
  HDC memory = CreateCompatibleDC(0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HDC dc = GetDC(window);
  ASSERT_TRUE(BitBlt(dc, 5, 4, 20, 10, memory, 0, 0, SRCCOPY));
  XSync(display, False);

  XImage* image = XGetImage(display, xw, 0, 0, 40, 30, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  auto rgb = [&](int x, int y) { return static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF; };
  EXPECT_EQ(rgb(5, 4), 0x3366CCu);
  EXPECT_EQ(rgb(14, 13), 0x3366CCu);
  EXPECT_EQ(rgb(15, 4), 0xCC9933u);
  EXPECT_EQ(rgb(24, 13), 0xCC9933u);
  EXPECT_NE(rgb(25, 4), 0xCC9933u);  // nothing beyond the copied rectangle
  EXPECT_NE(rgb(5, 14), 0x3366CCu);
  XDestroyImage(image);

  EXPECT_EQ(ReleaseDC(window, dc), 1);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  DestroyWindow(window);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, memory, 0, 0, SRCCOPY));  // stale contexts
}

}  // namespace
