// Pixel formats: the display's GLX configurations as descriptors, and what windows keep of them.
// The choice of the closest format is tested on its own in test_pixel_format_choice.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "pixel_format.h"
#include "wgl_setup.h"

namespace {

using zelvo_test::framework_descriptor;

}  // namespace

TEST(PixelFormat, NoDisplayMeansNoFormat) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        HDC dc = GetDC(0);
        PIXELFORMATDESCRIPTOR request = framework_descriptor();
        int format = ChoosePixelFormat(dc, &request);
        int count = DescribePixelFormat(dc, 1, 0, nullptr);
        std::exit(dc != 0 && format == 0 && count == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// The format belongs to the window record: once a window is destroyed, nothing of it reaches a
// window created later, even after enough cycles to bring a handle value round again.
TEST(PixelFormat, ANewWindowNeverInheritsAFormat) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "PixelFormatCycle";
  ASSERT_NE(RegisterClassA(&wc), 0);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = 0;
  for (int i = 0; i < 5000; ++i) {
    HWND window =
        CreateWindowExA(0, "PixelFormatCycle", "", WS_POPUP, 0, 0, 8, 8, 0, 0, 0, nullptr);
    ASSERT_NE(window, 0u);
    HDC dc = GetDC(window);
    ASSERT_EQ(GetPixelFormat(dc), 0) << "cycle " << i;
    if (format == 0) format = ChoosePixelFormat(dc, &request);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(SetPixelFormat(dc, format, &request));
    ASSERT_EQ(GetPixelFormat(dc), format);
    ReleaseDC(window, dc);
    ASSERT_TRUE(DestroyWindow(window));
  }
}
