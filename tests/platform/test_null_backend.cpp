// The platform's core over the null backend: windows live as records with their messages on a
// nominal screen, message boxes are records that another thread finds and answers, and what needs a
// display (GL, drawing, waiting for events) refuses with a Windows error code instead of blocking
// or pretending to succeed.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "message_box_answer.h"
#include "wgl_setup.h"

namespace {

constexpr const char* kClass = "NullBackendWindow";

std::vector<UINT>& heard() {
  static std::vector<UINT> messages;
  return messages;
}

LRESULT CALLBACK logging_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  heard().push_back(message);
  return DefWindowProcA(window, message, wparam, lparam);
}

class NullBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = logging_proc;
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, kClass, "records only", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, 0,
                              0, 0, nullptr);
    ASSERT_TRUE(window_) << GetLastError();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  HWND window_ = 0;
};

bool contains(const std::vector<UINT>& messages, UINT message) {
  for (UINT m : messages)
    if (m == message) return true;
  return false;
}

TEST_F(NullBackend, WindowsAreRecordsThatShowMoveAndTakeTheirTitle) {
  heard().clear();
  ShowWindow(window_, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(GetActiveWindow(), window_);
  EXPECT_EQ(GetFocus(), window_);
  EXPECT_TRUE(contains(heard(), WM_SHOWWINDOW));
  EXPECT_TRUE(contains(heard(), WM_ACTIVATE));
  EXPECT_TRUE(contains(heard(), WM_SIZE));

  ASSERT_TRUE(MoveWindow(window_, 40, 50, 320, 240, TRUE));
  RECT r{};
  ASSERT_TRUE(GetWindowRect(window_, &r));
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 240);

  ASSERT_TRUE(SetWindowTextA(window_, "renamed"));
  char title[32] = {};
  EXPECT_EQ(GetWindowTextA(window_, title, sizeof title), 7);
  EXPECT_EQ(std::string(title), "renamed");

  ShowWindow(window_, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(GetActiveWindow(), HWND{});
}

TEST_F(NullBackend, ShownWindowIsPaintedThroughTheQueueAndThenTheQueueRunsDry) {
  ShowWindow(window_, SW_SHOW);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  DispatchMessageA(&msg);  // DefWindowProcA validates the window
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  // Nothing can ever arrive: GetMessageA fails at once rather than waiting for ever.
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), -1);
  PostMessageA(window_, WM_USER, 7, 0);
  ASSERT_EQ(GetMessageA(&msg, 0, 0, 0), TRUE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(NullBackend, OpenGlRefusesWithTheWindowsCodes) {
  HDC dc = GetDC(window_);
  ASSERT_TRUE(dc);
  // The framework's own request: no format exists to meet it.
  PIXELFORMATDESCRIPTOR pfd = zelvo_test::framework_descriptor();
  EXPECT_EQ(ChoosePixelFormat(dc, &pfd), 0);
  EXPECT_EQ(DescribePixelFormat(dc, 1, sizeof pfd, nullptr), 0);
  SetLastError(0);
  EXPECT_FALSE(SetPixelFormat(dc, 1, &pfd));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PIXEL_FORMAT));
  EXPECT_EQ(GetPixelFormat(dc), 0);
  SetLastError(0);
  EXPECT_EQ(wglCreateContext(dc), HGLRC{});
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PIXEL_FORMAT));
  SetLastError(0);
  EXPECT_FALSE(SwapBuffers(dc));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(wglMakeCurrent(0, 0));  // nothing is current
  EXPECT_EQ(wglGetCurrentContext(), HGLRC{});
  ReleaseDC(window_, dc);
}

TEST_F(NullBackend, NominalScreenAndPointerButNothingDrawn) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
  ASSERT_TRUE(SetCursorPos(5, 6));
  POINT p{};
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, 6);
  HDC screen = GetDC(0);
  ASSERT_TRUE(screen);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  ASSERT_TRUE(memory && bitmap);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // Nothing can be read from a screen that is not there, nor drawn on it.
  EXPECT_FALSE(BitBlt(memory, 0, 0, 4, 4, screen, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(screen, 0, 0, 4, 4, memory, 0, 0, SRCCOPY));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(0, screen);
}

TEST_F(NullBackend, MessageBoxIsARecordThatWaitsForItsAnswer) {
  std::vector<zelvo_test::SeenBox> seen;
  int answer = 0;
  {
    zelvo_test::BoxAnswerer answerer(IDNO, "caption");
    answer = MessageBoxA(window_, "the text", "caption", MB_YESNOCANCEL | MB_ICONQUESTION);
    seen = answerer.seen();
  }
  EXPECT_EQ(answer, IDNO);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "caption");
  EXPECT_EQ(seen[0].text, "the text");
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(FindWindowA("#32770", "caption"), HWND{}) << "the box is gone once answered";
}

TEST_F(NullBackend, MessageBoxAnsweredByButtonClickAndClose) {
  std::thread clicker([] {
    HWND box = 0;
    while (!(box = FindWindowA("#32770", "click")))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    RECT rect{};
    EXPECT_TRUE(GetWindowRect(box, &rect));
    EXPECT_GT(rect.right - rect.left, 0);
    EXPECT_EQ(GetForegroundWindow(), box);
    HWND retry = GetDlgItem(box, IDRETRY);
    ASSERT_TRUE(retry);
    EXPECT_EQ(GetParent(retry), box);
    char label[32] = {};
    EXPECT_GT(GetWindowTextA(retry, label, sizeof label), 0);
    // A WM_COMMAND naming no button of the box leaves it up.
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(box));
    PostMessageA(retry, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(MessageBoxA(window_, "text", "click", MB_RETRYCANCEL), IDRETRY);
  clicker.join();
  std::thread closer([] {
    HWND box = 0;
    while (!(box = FindWindowA("#32770", "close")))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    PostMessageA(box, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(MessageBoxA(window_, "text", "close", MB_OKCANCEL), IDCANCEL) << "close acts as Escape";
  closer.join();
}

}  // namespace
