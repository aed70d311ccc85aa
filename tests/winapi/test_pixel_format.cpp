// Pixel formats as the application sees them: the descriptor's layout, the choice for the
// framework's descriptor, DescribePixelFormat's count and its failures, and the format as a
// window's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "wgl_setup.h"
#include "wine_differences.h"

namespace {

using zelvo_test::framework_descriptor;

PIXELFORMATDESCRIPTOR describe(HDC dc, int format) {
  PIXELFORMATDESCRIPTOR pfd;
  std::memset(&pfd, 0xAB, sizeof pfd);
  EXPECT_GT(DescribePixelFormat(dc, format, sizeof pfd, &pfd), 0) << "format " << format;
  return pfd;
}

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
  ASSERT_TRUE(dc);
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
  ReleaseDC(0, dc);
}

TEST(PixelFormat, TheClosestFormatHasTheDeepestDepthBufferAskedFor) {
  SKIP_UNDER_WINE(
      "ChoosePixelFormat gives a 24-bit depth buffer when 32 bits are asked for and offered");
  HDC dc = GetDC(0);
  ASSERT_TRUE(dc);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = ChoosePixelFormat(dc, &request);
  ASSERT_GT(format, 0);
  PIXELFORMATDESCRIPTOR got = describe(dc, format);
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

  ReleaseDC(0, dc);
}

TEST(PixelFormat, ShortBufferReceivesOnlyWhatFits) {
  SKIP_UNDER_WINE("DescribePixelFormat fails on a buffer shorter than the descriptor");
  HDC dc = GetDC(0);
  const int count = DescribePixelFormat(dc, 1, 0, nullptr);
  unsigned char buffer[48];
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_EQ(DescribePixelFormat(dc, 1, 8, reinterpret_cast<PIXELFORMATDESCRIPTOR*>(buffer)), count);
  EXPECT_EQ(buffer[0], 40);
  for (size_t i = 8; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0xEE) << "byte " << i;
  ReleaseDC(0, dc);
}

TEST(PixelFormat, ChoosingWithoutAContextFails) {
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  EXPECT_EQ(ChoosePixelFormat(0, &request), 0);
}

TEST(PixelFormat, StaleOrMissingArgumentsFail) {
  SKIP_UNDER_WINE(
      "ChoosePixelFormat crashes on a null descriptor, and a released screen context stays usable");
  HDC dc = GetDC(0);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  EXPECT_EQ(ChoosePixelFormat(dc, nullptr), 0);
  ReleaseDC(0, dc);
  EXPECT_EQ(ChoosePixelFormat(dc, &request), 0);
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
    ASSERT_TRUE(window);
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

}  // namespace
