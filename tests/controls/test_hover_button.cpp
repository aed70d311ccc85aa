// The "IMAGEBUTTON" control under real pointer input: states, clicks, shape, painting, clean-up.
#include <gtest/gtest.h>

#include <zelvo/controls.h>

#ifndef _WIN32
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include "window_internal.h"
#include "x_display.h"
#endif

#include <cstdio>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "bmp_writer.h"
#include "live_objects.h"
#include "pointer.h"
#include "temp_dir.h"

using namespace ctrl_test;
using namespace zelvo_test;

namespace {

constexpr int kW = 60, kH = 40;
constexpr int kButtonId = 77;
constexpr int kRequestedX = 30, kRequestedY = 25;

// Magenta outside the shape: the top-right corner and a hole in the middle.
bool Opaque(int x, int y) {
  if (x >= 40 && y < 20) return false;
  if (x >= 10 && x < 20 && y >= 15 && y < 25) return false;
  return true;
}

// Every state has its own colours, varying across the picture so that a shifted copy shows.
Rgb StateColour(int state, int x, int y) {
  const uint8_t base[] = {0, 200, 40, 90};
  return Rgb{base[state], uint8_t(x * 4), uint8_t(y * 6 + state * 7)};
}

Picture StatePicture(int state) {
  Picture p(kW, kH, kMagenta);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (Opaque(x, y)) p.at(x, y) = StateColour(state, x, y);
  return p;
}

std::vector<std::pair<WPARAM, LPARAM>> commands;

LRESULT CALLBACK ParentProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    commands.emplace_back(wParam, lParam);
    return 0;
  }
  return DefWindowProcA(w, message, wParam, lParam);
}

class HoverButtonTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA button{};
    button.cbSize = sizeof button;
    button.lpfnWndProc = HoverButtonHandler;
    button.hInstance = instance;
    button.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    button.lpszClassName = "IMAGEBUTTON";
    ASSERT_NE(RegisterClassExA(&button), 0);
    WNDCLASSA parent{};
    parent.lpfnWndProc = ParentProc;
    parent.hInstance = instance;
    parent.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    parent.lpszClassName = "ButtonTestParent";
    ASSERT_NE(RegisterClassA(&parent), 0);
  }

  void SetUp() override {
    ASSERT_TRUE(Input().ok()) << "no input to give";
    for (int state = 1; state <= 3; ++state)
      WriteBmp(dir_ / (std::string("Btn") + "?NHP"[state] + ".BMP"), StatePicture(state), 24);
    commands.clear();
    MovePointer(5, 5);  // away from everything
    before_ = LiveObjects();
    // A captioned fixed-size window: the button keeps its requested position inside it.
    parent_ =
        CreateWindowExA(0, "ButtonTestParent", "buttons", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                        200, 150, 300, 200, 0, 0, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent_);
    ShowWindow(parent_, SW_SHOW);
    BmpType = dir_ / "Btn";
    button_ =
        CreateWindowExA(0, "IMAGEBUTTON", "", WS_CHILD | WS_VISIBLE, kRequestedX, kRequestedY, 5, 7,
                        parent_, (HMENU)(intptr_t)kButtonId, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(button_);
    UpdateWindow(parent_);
    Settle();
    RECT r{};
    GetWindowRect(button_, &r);
    origin_ = POINT{r.left, r.top};
  }

  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    Settle();
    BmpType.clear();
  }

  DWORD Mode() const { return (DWORD)(uintptr_t)GetPropA(button_, HoverMode); }
  void MoveOnButton(int x, int y) { MovePointer(origin_.x + x, origin_.y + y); }
  // A point of the parent's client area well away from the button.
  void MoveOffButton() { MovePointer(origin_.x + kW + 40, origin_.y + kH + 30); }

  // Waits until the button shows the given state's picture on screen, read back through the
  // window's device context; reports the first mismatch.
  ::testing::AssertionResult Shows(int state) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kW;
    info.bmiHeader.biHeight = -kH;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(HDC{}, &info, DIB_RGB_COLORS, &bits, HANDLE{}, 0);
    HDC memory = CreateCompatibleDC(HDC{});
    HGDIOBJ old = SelectObject(memory, copy);
    std::string mismatch;
    const bool ok = PumpUntil([&] {
      HDC window = GetDC(button_);
      const bool copied = BitBlt(memory, 0, 0, kW, kH, window, 0, 0, SRCCOPY);
      ReleaseDC(button_, window);
      if (!copied) {
        mismatch = "the window's pixels could not be read";
        return false;
      }
      mismatch.clear();
      const auto* pixels = static_cast<const uint8_t*>(bits);
      for (int y = 0; y < kH && mismatch.empty(); ++y)
        for (int x = 0; x < kW && mismatch.empty(); ++x) {
          if (!Opaque(x, y)) continue;
          const uint8_t* p = pixels + (size_t(y) * kW + x) * 4;  // blue, green, red
          const unsigned long got = (unsigned long)p[2] << 16 | p[1] << 8 | p[0];
          const Rgb want = StateColour(state, x, y);
          const unsigned long expected = (unsigned long)want.r << 16 | want.g << 8 | want.b;
          if (got != expected) {
            char text[120];
            std::snprintf(text, sizeof text, "pixel (%d, %d) is %06lx, state %d has %06lx", x, y,
                          got, state, expected);
            mismatch = text;
          }
        }
      return mismatch.empty();
    });
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(copy);
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatch;
  }

  TempDir dir_;
  HWND parent_{};
  HWND button_{};
  POINT origin_{};
  LiveObjects before_;
};

TEST_F(HoverButtonTest, TakesTheNormalBitmapsSizeAndKeepsTheRequestedPosition) {
  RECT r{};
  ASSERT_TRUE(GetWindowRect(button_, &r));
  EXPECT_EQ(r.right - r.left, kW);
  EXPECT_EQ(r.bottom - r.top, kH);
  POINT client{0, 0};
  ClientToScreen(parent_, &client);
  // The button takes the parent's frame to be the nominal one of a captioned window (3 pixels at
  // the side, 19 above the client area): where the system's frame differs (Wine's caption is
  // taller), the button moves by the difference.
  RECT outer{};
  GetWindowRect(parent_, &outer);
  EXPECT_EQ(r.left - client.x, kRequestedX + (client.x - outer.left) - 3);
  EXPECT_EQ(r.top - client.y, kRequestedY + (client.y - outer.top) - 19);
  EXPECT_EQ(Mode(), 1u);
  for (const char* name : {NormalBmp, HoverBmp, PressBmp, ButtonRgn})
    EXPECT_TRUE(GetPropA(button_, name)) << name;
  EXPECT_TRUE(Shows(1));
}

// Linux only: it reads the shape the X server holds for the button's window.
#ifndef _WIN32
TEST_F(HoverButtonTest, WindowShapeIsTheNormalBitmapWithoutItsKey) {
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(plat::x_display(), plat::x_window(button_), ShapeBounding,
                                          &count, &ordering);
  ASSERT_NE(rects, nullptr);
  std::set<std::pair<int, int>> covered;
  for (int i = 0; i < count; ++i)
    for (int y = rects[i].y; y < rects[i].y + rects[i].height; ++y)
      for (int x = rects[i].x; x < rects[i].x + rects[i].width; ++x) covered.insert({x, y});
  XFree(rects);
  std::set<std::pair<int, int>> opaque;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (Opaque(x, y)) opaque.insert({x, y});
  EXPECT_TRUE(covered == opaque) << covered.size() << " pixels in the shape, " << opaque.size()
                                 << " opaque";
}
#endif

TEST_F(HoverButtonTest, HoverPressReleaseOverTheShapeClicksOnce) {
  MoveOnButton(5, 5);
  EXPECT_EQ(Mode(), 2u);
  EXPECT_EQ(GetCapture(), button_);
  EXPECT_TRUE(Shows(2));
  LeftButton(true);
  EXPECT_EQ(Mode(), 3u);
  EXPECT_TRUE(Shows(3));
  LeftButton(false);
  Settle();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, WPARAM(kButtonId));  // notification code 0 in the high word
  EXPECT_EQ(commands[0].second, 0);
  // Releasing the capture brings a mouse move at once: the pointer is still on the shape, so the
  // button shows its hover image again and holds the capture to see the pointer leave.
  EXPECT_EQ(Mode(), 2u);
  EXPECT_TRUE(Shows(2));
  EXPECT_EQ(GetCapture(), button_);
  MoveOnButton(7, 6);
  EXPECT_EQ(Mode(), 2u);
  EXPECT_TRUE(Shows(2));
  EXPECT_EQ(commands.size(), 1u);
}

TEST_F(HoverButtonTest, DraggingOffBeforeReleaseDoesNotClick) {
  MoveOnButton(5, 30);
  LeftButton(true);
  ASSERT_EQ(Mode(), 3u);
  MoveOffButton();
  EXPECT_EQ(Mode(), 1u);
  EXPECT_NE(GetCapture(), button_);
  EXPECT_TRUE(Shows(1));
  LeftButton(false);
  Settle();
  EXPECT_TRUE(commands.empty());
}

TEST_F(HoverButtonTest, EnteringWithTheButtonHeldGoesStraightToPressed) {
  // Pressed on the desktop, outside every window of the program.
  MovePointer(20, 20);
  LeftButton(true);
  MoveOnButton(30, 35);
  EXPECT_EQ(Mode(), 3u);
  EXPECT_TRUE(Shows(3));
  LeftButton(false);
  Settle();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, WPARAM(kButtonId));
  EXPECT_EQ(commands[0].second, 0);
}

TEST_F(HoverButtonTest, KeyColouredPartsNeitherHighlightNorClick) {
  for (POINT p : {POINT{50, 5}, POINT{15, 20}}) {  // the cut-off corner and the hole
    SCOPED_TRACE(p.x);
    MoveOnButton(p.x, p.y);
    EXPECT_EQ(Mode(), 1u);
    EXPECT_NE(GetCapture(), button_);
    LeftButton(true);
    LeftButton(false);
    Settle();
    EXPECT_EQ(Mode(), 1u);
    EXPECT_TRUE(commands.empty());
  }
  EXPECT_TRUE(Shows(1));
}

TEST_F(HoverButtonTest, StateWithoutAnImageIsValidatedNotRepainted) {
  SetPropA(button_, HoverMode, (HANDLE)(uintptr_t)9);
  InvalidateRect(button_, nullptr, FALSE);
  Settle();
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(button_, &update, FALSE));
}

TEST_F(HoverButtonTest, DestructionRemovesThePropertiesAndLeaksNothing) {
  MoveOnButton(5, 5);  // hold the capture and a repainted state when destroyed
  // The destruction message itself, while the window still exists to be asked.
  EXPECT_EQ(HoverButtonHandler(button_, WM_DESTROY, 0, 0), 0);
  for (const char* name : {NormalBmp, HoverBmp, PressBmp, HoverMode, ButtonRgn})
    EXPECT_FALSE(GetPropA(button_, name)) << name;
  EXPECT_TRUE(DestroyWindow(button_));
  DestroyWindow(parent_);
  parent_ = HWND{};
  Settle();
  if (kCountsObjects) {
    EXPECT_EQ(LiveObjects(), before_);
  }
}

TEST_F(HoverButtonTest, MissingBitmapRefusesCreationWithoutLeaks) {
  DestroyWindow(parent_);
  parent_ = HWND{};
  Settle();
  for (const char* missing : {"BtnN.BMP", "BtnH.BMP", "BtnP.BMP"}) {
    SCOPED_TRACE(missing);
    TempDir partial;
    for (const char* name : {"BtnN.BMP", "BtnH.BMP", "BtnP.BMP"})
      if (std::string(name) != missing) WriteBmp(partial / name, StatePicture(1), 24);
    const LiveObjects before;
    HWND parent = CreateWindowExA(0, "ButtonTestParent", "p", WS_OVERLAPPED | WS_CAPTION, 0, 0, 100,
                                  100, 0, 0, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    BmpType = partial / "Btn";
    EXPECT_FALSE(CreateWindowExA(0, "IMAGEBUTTON", "", WS_CHILD, 0, 0, 10, 10, parent,
                                 (HMENU)(intptr_t)1, GetModuleHandleA(nullptr), nullptr));
    DestroyWindow(parent);
    Settle();
    if (kCountsObjects) {
      EXPECT_EQ(LiveObjects(), before);
    }
  }
}

}  // namespace

// The button builds the names <prefix>N.BMP, H.BMP and P.BMP; files named in another case are
// found as Windows would find them.
TEST_F(HoverButtonTest, BitmapsNamedInAnotherCaseAreFound) {
  TempDir other;
  std::filesystem::create_directory(other.path() / "Skins");
  WriteBmp(other / "Skins/btnn.bmp", StatePicture(1), 24);
  WriteBmp(other / "Skins/BtnH.Bmp", StatePicture(2), 24);
  WriteBmp(other / "Skins/BTNP.bmp", StatePicture(3), 24);
  BmpType = other / "skins/Btn";
  HWND button = CreateWindowExA(0, "IMAGEBUTTON", "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, parent_,
                                (HMENU)(intptr_t)2, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(button);
  RECT r{};
  GetClientRect(button, &r);
  RECT first{};
  GetClientRect(button_, &first);
  EXPECT_EQ(r.right, first.right) << "sized from the normal bitmap found under another case";
  EXPECT_EQ(r.bottom, first.bottom);
  EXPECT_TRUE(GetPropA(button, PressBmp));
  DestroyWindow(button);
}
