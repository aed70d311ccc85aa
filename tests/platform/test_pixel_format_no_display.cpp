// Pixel formats when no display can be opened: the screen's context is there, no format is. The
// formats themselves are checked in both worlds by tests/winapi/test_pixel_format.cpp, the choice
// of the closest one on its own in test_pixel_format_choice.cpp.
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
