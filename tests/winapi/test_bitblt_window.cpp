// BitBlt with a window's device context at either end: pixels painted onto a window read back
// through the same context, a copy within the window, fills, and the clipping region.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "dib_sections.h"

namespace {

using zelvo_test::make_dib;
using zelvo_test::read32;

constexpr int kWidth = 96, kHeight = 64;

const char* window_class() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "BitBltWindowTest";
    RegisterClassA(&wc);
    return "BitBltWindowTest";
  }();
  return name;
}

// Handles what arrives for a moment: the window is mapped and its first paint is done before the
// test draws, so no exposure clears the pixels it reads back.
void settle() {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  MSG m;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

class WindowDc : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(0, window_class(), "bitblt", WS_POPUP | WS_VISIBLE, 120, 90, kWidth,
                              kHeight, 0, 0, 0, nullptr);
    ASSERT_TRUE(window_);
    settle();
    dc_ = GetDC(window_);
    ASSERT_TRUE(dc_);
    memory_ = CreateCompatibleDC(0);
  }
  void TearDown() override {
    if (memory_) DeleteDC(memory_);
    if (dc_) ReleaseDC(window_, dc_);
    if (window_) DestroyWindow(window_);
  }

  // `width` x `height` pixels of the window's client area at (x, y), rows top first, read through
  // its device context into a 32-bit section.
  std::vector<uint32_t> read_back(int x, int y, int width, int height) {
    void* bits = nullptr;
    HBITMAP dib = make_dib(width, height, 32, &bits);
    HGDIOBJ old = SelectObject(memory_, dib);
    EXPECT_TRUE(BitBlt(memory_, 0, 0, width, height, dc_, x, y, SRCCOPY));
    std::vector<uint32_t> pixels = read32(bits, width, height);
    SelectObject(memory_, old);
    DeleteObject(dib);
    return pixels;
  }

  // Paints a section whose every pixel differs onto the window at (x, y); returns its pixels.
  std::vector<uint32_t> paint_pattern(int x, int y, int width, int height) {
    void* bits = nullptr;
    HBITMAP dib = make_dib(width, height, 32, &bits);
    auto* p = static_cast<uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
      p[i] = (static_cast<uint32_t>(i * 37) & 0xFF) << 16 |
             (static_cast<uint32_t>(i * 11) & 0xFF) << 8 | (0xFF - static_cast<uint32_t>(i & 0xFF));
    const std::vector<uint32_t> pattern = read32(bits, width, height);
    HGDIOBJ old = SelectObject(memory_, dib);
    EXPECT_TRUE(BitBlt(dc_, x, y, width, height, memory_, 0, 0, SRCCOPY));
    SelectObject(memory_, old);
    DeleteObject(dib);
    return pattern;
  }

  HWND window_ = 0;
  HDC dc_ = 0;
  HDC memory_ = 0;
};

TEST_F(WindowDc, PaintedPixelsReadBackThroughTheWindowsContext) {
  ASSERT_TRUE(BitBlt(dc_, 0, 0, kWidth, kHeight, 0, 0, 0, BLACKNESS));
  const std::vector<uint32_t> pattern = paint_pattern(5, 7, 16, 8);
  EXPECT_EQ(read_back(5, 7, 16, 8), pattern);
  // Around the block the window stays black.
  const std::vector<uint32_t> around = read_back(4, 6, 18, 10);
  for (int x = 0; x < 18; ++x) {
    EXPECT_EQ(around[static_cast<size_t>(x)], 0u) << x;
    EXPECT_EQ(around[static_cast<size_t>(9 * 18 + x)], 0u) << x;
  }
  EXPECT_EQ(around[static_cast<size_t>(1 * 18 + 1)], pattern[0]);

  // Into a 24-bit section the same colours arrive.
  void* bits24 = nullptr;
  HBITMAP dib24 = make_dib(16, 8, 24, &bits24);
  HGDIOBJ old = SelectObject(memory_, dib24);
  ASSERT_TRUE(BitBlt(memory_, 0, 0, 16, 8, dc_, 5, 7, SRCCOPY));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint8_t* p =
          static_cast<uint8_t*>(bits24) + (7 - y) * zelvo_test::stride(16, 24) + 3 * x;
      EXPECT_EQ(static_cast<uint32_t>(p[2] << 16 | p[1] << 8 | p[0]),
                pattern[static_cast<size_t>(y) * 16 + x])
          << x << "," << y;
    }
  SelectObject(memory_, old);
  DeleteObject(dib24);
}

TEST_F(WindowDc, CopiesWithinTheWindowAndFills) {
  ASSERT_TRUE(BitBlt(dc_, 0, 0, kWidth, kHeight, 0, 0, 0, WHITENESS));
  const std::vector<uint32_t> pattern = paint_pattern(2, 3, 12, 6);
  ASSERT_TRUE(BitBlt(dc_, 40, 30, 12, 6, dc_, 2, 3, SRCCOPY));
  EXPECT_EQ(read_back(40, 30, 12, 6), pattern);
  EXPECT_EQ(read_back(2, 3, 12, 6), pattern) << "the source stays";
  const std::vector<uint32_t> white = read_back(60, 10, 8, 8);
  for (uint32_t p : white) EXPECT_EQ(p, 0xFFFFFFu);
  ASSERT_TRUE(BitBlt(dc_, 60, 10, 4, 4, 0, 0, 0, BLACKNESS));
  const std::vector<uint32_t> half = read_back(60, 10, 8, 8);
  EXPECT_EQ(half[0], 0u);
  EXPECT_EQ(half[3 * 8 + 3], 0u);
  EXPECT_EQ(half[4 * 8 + 4], 0xFFFFFFu);
}

TEST_F(WindowDc, TheClippingRegionLimitsWhatLands) {
  ASSERT_TRUE(BitBlt(dc_, 0, 0, kWidth, kHeight, 0, 0, 0, BLACKNESS));
  HRGN clip = CreateRectRgn(12, 12, 16, 14);
  SelectObject(dc_, clip);
  DeleteObject(clip);
  const std::vector<uint32_t> pattern = paint_pattern(10, 10, 8, 8);
  // The clipping region limits the destination only: the whole block reads back.
  const std::vector<uint32_t> got = read_back(10, 10, 8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool in = x >= 2 && x < 6 && y >= 2 && y < 4;
      EXPECT_EQ(got[static_cast<size_t>(y) * 8 + x],
                in ? pattern[static_cast<size_t>(y) * 8 + x] : 0u)
          << x << "," << y;
    }
}

}  // namespace
