// Pixel formats: the display's GLX configurations as descriptors, and the choice of the closest
// one.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "../../platform/src/pixel_format.h"
#include "framework_descriptor.h"

namespace {

using zelvo_test::framework_descriptor;

PIXELFORMATDESCRIPTOR describe(HDC dc, int format) {
  PIXELFORMATDESCRIPTOR pfd;
  std::memset(&pfd, 0xAB, sizeof pfd);
  EXPECT_GT(DescribePixelFormat(dc, format, sizeof pfd, &pfd), 0) << "format " << format;
  return pfd;
}

plat::PixelFormatTraits traits(DWORD flags, int color, int alpha, int depth, int stencil,
                               int caveat = 0) {
  plat::PixelFormatTraits t;
  t.descriptor.nSize = 40;
  t.descriptor.dwFlags = flags;
  t.descriptor.iPixelType = PFD_TYPE_RGBA;
  t.descriptor.cColorBits = static_cast<BYTE>(color);
  t.descriptor.cAlphaBits = static_cast<BYTE>(alpha);
  t.descriptor.cDepthBits = static_cast<BYTE>(depth);
  t.descriptor.cStencilBits = static_cast<BYTE>(stencil);
  t.caveat = caveat;
  return t;
}

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

}  // namespace

TEST(PixelFormat, DescriptorHasItsFortyByteLayout) {
  EXPECT_EQ(sizeof(PIXELFORMATDESCRIPTOR), 40u);
  EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwFlags), 4u);
  EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, cDepthBits), 23u);
  EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, iLayerType), 26u);
  EXPECT_EQ(offsetof(PIXELFORMATDESCRIPTOR, dwLayerMask), 28u);
  EXPECT_EQ(PFD_DOUBLEBUFFER | PFD_STEREO | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED,
            0x1067u);
}

TEST(PixelFormat, FrameworkDescriptorGetsDoubleBufferedRgbaWithDepthOnMesa) {
  HDC dc = GetDC(0);
  ASSERT_NE(dc, 0u);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = ChoosePixelFormat(dc, &request);
  ASSERT_GT(format, 0);
  PIXELFORMATDESCRIPTOR got = describe(dc, format);
  EXPECT_EQ(got.nSize, 40);
  EXPECT_TRUE(got.dwFlags & PFD_DOUBLEBUFFER);
  EXPECT_TRUE(got.dwFlags & PFD_DRAW_TO_WINDOW);
  EXPECT_TRUE(got.dwFlags & PFD_SUPPORT_OPENGL);
  EXPECT_EQ(got.iPixelType, PFD_TYPE_RGBA);
  EXPECT_GE(got.cColorBits, 24);
  EXPECT_GT(got.cDepthBits, 0);
  EXPECT_GT(got.cAlphaBits, 0);
  EXPECT_EQ(got.iLayerType, PFD_MAIN_PLANE);

  // Closest means: no other format that meets the requirements has a deeper depth buffer (up to the
  // 32 bits asked for), and among equal depths none has more stencil bits.
  int count = DescribePixelFormat(dc, 1, 0, nullptr);
  ASSERT_GE(count, format);
  for (int i = 1; i <= count; ++i) {
    PIXELFORMATDESCRIPTOR other = describe(dc, i);
    if (!(other.dwFlags & PFD_DOUBLEBUFFER) || other.iPixelType != PFD_TYPE_RGBA) continue;
    EXPECT_LE(other.cDepthBits, got.cDepthBits) << "format " << i;
    if (other.cDepthBits == got.cDepthBits) {
      EXPECT_LE(other.cStencilBits, got.cStencilBits) << "format " << i;
    }
  }
  ReleaseDC(0, dc);
}

TEST(PixelFormat, DescribeReportsCountAndRejectsBadIndexes) {
  HDC dc = GetDC(0);
  int count = DescribePixelFormat(dc, 1, 0, nullptr);
  ASSERT_GT(count, 0);
  PIXELFORMATDESCRIPTOR pfd;
  EXPECT_EQ(DescribePixelFormat(dc, 0, sizeof pfd, &pfd), 0);
  EXPECT_EQ(DescribePixelFormat(dc, count + 1, sizeof pfd, &pfd), 0);
  EXPECT_EQ(DescribePixelFormat(dc, count, sizeof pfd, &pfd), count);

  // A short buffer receives only what fits.
  unsigned char buffer[48];
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_EQ(DescribePixelFormat(dc, 1, 8, reinterpret_cast<PIXELFORMATDESCRIPTOR*>(buffer)), count);
  EXPECT_EQ(buffer[0], 40);
  for (size_t i = 8; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0xEE) << "byte " << i;
  ReleaseDC(0, dc);
}

TEST(PixelFormat, StaleOrMissingArgumentsFail) {
  HDC dc = GetDC(0);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  EXPECT_EQ(ChoosePixelFormat(dc, nullptr), 0);
  ReleaseDC(0, dc);
  EXPECT_EQ(ChoosePixelFormat(dc, &request), 0);
  EXPECT_EQ(ChoosePixelFormat(0, &request), 0);
  PIXELFORMATDESCRIPTOR pfd;
  EXPECT_EQ(DescribePixelFormat(dc, 1, sizeof pfd, &pfd), 0);
}

TEST(PixelFormat, SingleBufferPreferredUnlessDoubleAsked) {
  HDC dc = GetDC(0);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  int single = ChoosePixelFormat(dc, &request);
  ASSERT_GT(single, 0);
  EXPECT_FALSE(describe(dc, single).dwFlags & PFD_DOUBLEBUFFER);
  request.dwFlags |= PFD_DOUBLEBUFFER;
  int twin = ChoosePixelFormat(dc, &request);
  ASSERT_GT(twin, 0);
  EXPECT_TRUE(describe(dc, twin).dwFlags & PFD_DOUBLEBUFFER);
  ReleaseDC(0, dc);
}

TEST(PixelFormatChoice, RequirementsFilterAndPreferencesRank) {
  std::vector<plat::PixelFormatTraits> formats = {
      traits(kWindowGL, 32, 8, 0, 0),                         // 1: no depth, single
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 0, 0),      // 2: no depth
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 24, 8, 1),  // 3: slow
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 16, 0),     // 4
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 24, 0),     // 5
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 24, 8),     // 6: the best for 32/32/32
      traits(kWindowGL | PFD_DOUBLEBUFFER, 16, 0, 24, 8),     // 7: fewer colour bits
  };
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 6);

  // Depth 16 asked: the smallest depth that covers it wins over a deeper one.
  request.cDepthBits = 16;
  request.cStencilBits = 0;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 4);

  // Double buffering required: the single-buffered format is never chosen even when it fits best.
  request = framework_descriptor();
  request.cDepthBits = request.cStencilBits = 0;
  request.cColorBits = 32;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 2);
  request.dwFlags &= ~PFD_DOUBLEBUFFER;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 1);

  // A colour-index request has nothing to match; an empty list neither.
  request.iPixelType = PFD_TYPE_COLORINDEX;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 0);
  EXPECT_EQ(plat::choose_pixel_format({}, framework_descriptor()), 0);

  // Only a slow format meets the requirements: it is still returned rather than nothing.
  std::vector<plat::PixelFormatTraits> slow_only = {
      traits(kWindowGL | PFD_DOUBLEBUFFER, 24, 0, 24, 8, 1)};
  EXPECT_EQ(plat::choose_pixel_format(slow_only, framework_descriptor()), 1);
}

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
