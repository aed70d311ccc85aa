// The window layer's set-up failures name the function, the call that failed and the system's
// reason on standard error (beside the "Error" box CreateOGLWindow then shows).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <filesystem>
#include <string>

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

template <class Call>
std::string ErrorOutputOf(Call call) {
  ::testing::internal::CaptureStderr();
  call();
  return ::testing::internal::GetCapturedStderr();
}

TEST(WindowFailureLines, MissingCursorFileAndARepeatedRegistration) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  const std::string cursor = folder + "/zelvo-no-such-cursor.cur";
  OGLWindowSetting(FILECURSOR, cursor.c_str(), GENERIC, "");
  bool registered = false;
  const std::string first = ErrorOutputOf([&] { registered = WindowRegister(); });
  EXPECT_TRUE(registered) << "a class without its cursor is still registered";
  EXPECT_EQ(first, "Zelvo: WindowRegister: \"" + cursor + "\" in " + folder +
                       ": LoadCursorFromFileA of the cursor file failed: The system cannot find "
                       "the file specified\n");

  OGLWindowSetting(ARROW, "", GENERIC, "");
  const std::string second = ErrorOutputOf([&] { registered = WindowRegister(); });
  EXPECT_FALSE(registered);
  EXPECT_THAT(second, StartsWith("Zelvo: WindowRegister: RegisterClassA of \"GLWindow\" failed"));
  EXPECT_EQ(std::count(second.begin(), second.end(), '\n'), 1);
}

TEST(WindowFailureLines, InitialisationOfAWindowThatIsGoneNamesTheFirstFailingCall) {
  HWND window = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 10, 10, 0, 0,
                                GetModuleHandleA(nullptr), nullptr);
  if (window == 0) {
    // No STATIC class here: any window of ours will do.
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FailureLinesWindow";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "FailureLinesWindow", "gone", WS_POPUP, 0, 0, 10, 10, 0, 0,
                             GetModuleHandleA(nullptr), nullptr);
  }
  ASSERT_NE(window, 0u);
  DestroyWindow(window);
  bool ok = true;
  const std::string output = ErrorOutputOf([&] { ok = WindowInit(window); });
  EXPECT_FALSE(ok);
  EXPECT_THAT(output, StartsWith("Zelvo: WindowInit: "));
  EXPECT_THAT(output, HasSubstr(" failed"));
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

}  // namespace
