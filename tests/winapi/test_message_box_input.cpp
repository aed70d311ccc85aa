// Message boxes answered with real input, as a user answers them: keys as on a dialog, and a click
// that counts only when pressed and released on the same button.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "message_box_answer.h"
#include "real_input.h"

using zelvo_test::show_and_drive;

TEST(MessageBoxInput, KeysAnswerAsOnADialog) {
  zelvo_test::RealInput input;
  ASSERT_TRUE(input.ok());
  bool forced = false;
  // Escape chooses Cancel.
  EXPECT_EQ(show_and_drive(
                "k", "Keys", MB_YESNOCANCEL, [&](HWND) { input.tap_key(VK_ESCAPE); }, &forced),
            IDCANCEL);
  EXPECT_FALSE(forced);
  // Enter chooses the default button.
  EXPECT_EQ(
      show_and_drive(
          "k", "Keys", MB_YESNO | MB_DEFBUTTON2, [&](HWND) { input.tap_key(VK_RETURN); }, &forced),
      IDNO);
  EXPECT_FALSE(forced);
  // Tab moves the focus to the next button, which Enter then presses; Space presses it too.
  EXPECT_EQ(show_and_drive(
                "k", "Keys", MB_YESNOCANCEL,
                [&](HWND) {
                  input.tap_key(VK_TAB);
                  input.tap_key(VK_RETURN);
                },
                &forced),
            IDNO);
  EXPECT_FALSE(forced);
  EXPECT_EQ(show_and_drive(
                "k", "Keys", MB_OKCANCEL,
                [&](HWND) {
                  input.tap_key(VK_TAB);
                  input.tap_key(VK_SPACE);
                },
                &forced),
            IDCANCEL);
  EXPECT_FALSE(forced);
}

TEST(MessageBoxInput, AMouseClickOnAButtonAnswersOnlyWhenPressedAndReleasedOnIt) {
  zelvo_test::RealInput input;
  ASSERT_TRUE(input.ok());
  bool forced = false;
  bool still_up_after_slip = false;
  const auto centre = [](HWND button) {
    RECT r{};
    GetWindowRect(button, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  const int answer = show_and_drive(
      "m", "Mouse", MB_YESNO,
      [&](HWND box) {
        const POINT yes = centre(GetDlgItem(box, IDYES)), no = centre(GetDlgItem(box, IDNO));
        // Pressed on Yes and released on No: neither button is clicked.
        input.move_pointer(yes.x, yes.y);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        input.press_button(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        input.move_pointer(no.x, no.y);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        input.release_button(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        still_up_after_slip = FindWindowA("#32770", "Mouse") == box;
        input.press_button(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        input.release_button(1);
      },
      &forced);
  EXPECT_TRUE(still_up_after_slip) << "a press that slipped off its button answered";
  EXPECT_EQ(answer, IDNO);
  EXPECT_FALSE(forced);
}
