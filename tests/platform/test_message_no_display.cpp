// Without an X display no window can be made, but the thread's queue still works, and a message
// box's words go to standard error.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class NoDisplay : public ::testing::Test {
 protected:
  // Before anything in the program opens the display.
  static void SetUpTestSuite() { unsetenv("DISPLAY"); }
};

TEST_F(NoDisplay, CreateWindowFailsButPostedMessagesFlow) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "NoDisplayClass";
  ASSERT_NE(RegisterClassA(&wc), 0);
  EXPECT_EQ(CreateWindowExA(0, "NoDisplayClass", "x", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, 0, 0, 0,
                            nullptr),
            0u);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 0);

  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PostMessageA(0, WM_USER, 1, 2));
  PostQuitMessage(3);
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), TRUE);
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), FALSE);
  EXPECT_EQ(msg.wParam, 3u);
  // Nothing can ever arrive now: GetMessageA reports the failure instead of waiting for ever.
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), -1);
  POINT p;
  EXPECT_FALSE(GetCursorPos(&p));
  EXPECT_EQ(GetForegroundWindow(), 0u);
}

TEST(MessageBoxNoDisplay, ReturnsZeroAndWritesCaptionAndTextToStandardError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        int result = MessageBoxA(0, "non \xE8 stata\r\ninizilizata", "Error", MB_OK);
        std::exit(result == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "Error: non \xC3\xA8 stata  inizilizata");
}

}  // namespace
