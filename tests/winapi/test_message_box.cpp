// Message boxes answered from a second thread, as Windows programs' automation answers them: the
// box is found with FindWindowA by its dialog class and caption and a button is clicked by posting
// the WM_COMMAND the button sends.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "message_box_answer.h"
#include "wine.h"

using zelvo_test::BoxAnswerer;

namespace {

// Finds the box titled `caption` (bounded wait), posts `messages` in order, and records what it
// saw.
struct Poster {
  std::string caption, text, any_title_caption;
  HWND box = 0;
  bool found_by_title_only = false;

  void run(const char* wanted, const std::vector<std::pair<UINT, WPARAM>>& messages) {
    // Generously bounded: Wine's first box in a fresh prefix waits for its font cache.
    for (int attempt = 0; attempt < 3000 && !box; ++attempt) {
      box = FindWindowA("#32770", wanted);
      if (!box) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!box) return;
    found_by_title_only = FindWindowA(nullptr, wanted) == box;
    char buffer[256];
    if (GetWindowTextA(box, buffer, sizeof buffer) > 0) caption = buffer;
    if (GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer) > 0) text = buffer;
    for (const auto& [message, wparam] : messages) {
      PostMessageA(box, message, wparam, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
};

int show_and_post(const char* text, const char* caption, UINT type,
                  const std::vector<std::pair<UINT, WPARAM>>& messages, Poster* poster) {
  std::thread driver([&] { poster->run(caption, messages); });
  int answer = MessageBoxA(0, text, caption, type);
  driver.join();
  return answer;
}

WPARAM click(int id) { return MAKEWPARAM(id, BN_CLICKED); }

}  // namespace

TEST(MessageBoxFromAnotherThread, FoundByClassAndCaptionAndAnsweredByItsButton) {
  Poster poster;
  EXPECT_EQ(show_and_post("Settare lo schermo intero?  ", "Video!", MB_YESNO | MB_ICONQUESTION,
                          {{WM_COMMAND, click(IDNO)}}, &poster),
            IDNO);
  ASSERT_TRUE(poster.box) << "FindWindowA did not find the box";
  EXPECT_TRUE(poster.found_by_title_only) << "NULL matches the dialog class too";
  EXPECT_EQ(poster.caption, "Video!");
  EXPECT_EQ(poster.text, "Settare lo schermo intero?  ");
  EXPECT_EQ(FindWindowA("#32770", "Video!"), HWND{}) << "the answered box is gone";
  EXPECT_FALSE(IsWindow(poster.box));

  Poster yes;
  EXPECT_EQ(
      show_and_post("q", "Video!", MB_YESNO | MB_ICONQUESTION, {{WM_COMMAND, click(IDYES)}}, &yes),
      IDYES);
}

TEST(MessageBoxFromAnotherThread, TextKeepsItsEightBitCharacters) {
  Poster poster;
  EXPECT_EQ(show_and_post("la rispettiva applicazione non \xE8 stata inizilizata!", "Error", MB_OK,
                          {{WM_COMMAND, click(IDOK)}}, &poster),
            IDOK);
  EXPECT_EQ(poster.text, "la rispettiva applicazione non \xE8 stata inizilizata!");
}

TEST(MessageBoxFromAnotherThread, CancelAnswersBoxesThatCanBeCancelled) {
  Poster ok_cancel, yes_no_cancel, retry_cancel;
  EXPECT_EQ(show_and_post("c", "Cancel", MB_OKCANCEL, {{WM_COMMAND, click(IDCANCEL)}}, &ok_cancel),
            IDCANCEL);
  EXPECT_EQ(
      show_and_post("c", "Cancel", MB_YESNOCANCEL, {{WM_COMMAND, click(IDCANCEL)}}, &yes_no_cancel),
      IDCANCEL);
  EXPECT_EQ(
      show_and_post("c", "Cancel", MB_RETRYCANCEL, {{WM_COMMAND, click(IDRETRY)}}, &retry_cancel),
      IDRETRY);
}

TEST(MessageBoxFromAnotherThread, CloseRequestCancelsABoxWithACancelButton) {
  Poster ok_cancel;
  EXPECT_EQ(show_and_post("c", "Close", MB_OKCANCEL, {{WM_CLOSE, 0}}, &ok_cancel), IDCANCEL);
}

// A close request and IDCANCEL are what the Escape key gives a dialog; the documented answer to
// Escape is IDOK for a box with only OK, and nothing for a box without a Cancel button.
TEST(MessageBoxFromAnotherThread, CloseRequestAnswersLikeTheEscapeKey) {
  SKIP_UNDER_WINE("a close request or IDCANCEL ends every box with IDCANCEL");
  Poster ok, yes_no;
  EXPECT_EQ(show_and_post("c", "Close", MB_OK, {{WM_CLOSE, 0}}, &ok), IDOK);
  EXPECT_EQ(show_and_post("q", "Close", MB_YESNO,
                          {{WM_CLOSE, 0}, {WM_COMMAND, click(IDCANCEL)}, {WM_COMMAND, click(IDNO)}},
                          &yes_no),
            IDNO);
}

TEST(MessageBoxFromAnotherThread, AnswererThreadSeesEveryBoxInTurn) {
  BoxAnswerer answerer(IDOK);
  EXPECT_EQ(MessageBoxA(0, "first", "One", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(0, "second", "Two", MB_OKCANCEL), IDOK);
  const auto seen = answerer.seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].caption, "One");
  EXPECT_EQ(seen[0].text, "first");
  EXPECT_EQ(seen[1].caption, "Two");
  EXPECT_EQ(seen[1].text, "second");
}
