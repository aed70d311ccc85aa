// Message boxes answered from a second thread, as Windows programs' automation answers them: the
// box is found with FindWindowA by its dialog class and caption and a button is clicked by posting
// the WM_COMMAND the button sends. Keys and clicks of real input are in test_message_box_input.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "message_box_answer.h"
#include "wine_differences.h"

using zelvo_test::BoxAnswerer;
using zelvo_test::show_and_drive;

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

// ---- The box's controls, as a Windows program's automation meets them.

namespace {

std::string window_text(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom && inner.left < inner.right && inner.top < inner.bottom;
}

bool overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TEST(MessageBoxControls, ButtonsAreChildWindowsFoundByIdClassAndText) {
  struct Seen {
    HWND box = 0, yes = 0, no = 0, cancel = 0, ok = 0, text = 0, text_by_find = 0, no_by_find = 0;
    std::string yes_text, no_text, cancel_text, text_text;
    HWND yes_parent = 0;
    int yes_id = 0;
    std::multiset<int> buttons_found;
    bool rects_inside = false, rects_apart = false;
  } seen;
  bool forced = false;
  const int answer = show_and_drive(
      "Settare lo schermo intero?", "Controls", MB_YESNOCANCEL | MB_ICONQUESTION,
      [&](HWND box) {
        seen.box = box;
        seen.yes = GetDlgItem(box, IDYES);
        seen.no = GetDlgItem(box, IDNO);
        seen.cancel = GetDlgItem(box, IDCANCEL);
        seen.ok = GetDlgItem(box, IDOK);
        seen.text = GetDlgItem(box, 0xFFFF);
        seen.yes_text = window_text(seen.yes);
        seen.no_text = window_text(seen.no);
        seen.cancel_text = window_text(seen.cancel);
        seen.text_text = window_text(seen.text);
        seen.yes_parent = GetParent(seen.yes);
        seen.yes_id = GetDlgCtrlID(seen.yes);
        for (HWND b = FindWindowExA(box, 0, "Button", nullptr); b && seen.buttons_found.size() < 10;
             b = FindWindowExA(box, b, "Button", nullptr))
          seen.buttons_found.insert(GetDlgCtrlID(b));
        seen.no_by_find = FindWindowExA(box, 0, "button", "&no");
        seen.text_by_find = FindWindowExA(box, 0, "Static", "Settare lo schermo intero?");
        RECT box_rect{}, yes{}, no{}, cancel{};
        GetWindowRect(box, &box_rect);
        GetWindowRect(seen.yes, &yes);
        GetWindowRect(seen.no, &no);
        GetWindowRect(seen.cancel, &cancel);
        seen.rects_inside =
            inside(yes, box_rect) && inside(no, box_rect) && inside(cancel, box_rect);
        seen.rects_apart = !overlap(yes, no) && !overlap(no, cancel) && !overlap(yes, cancel);
        SendMessageA(seen.no, BM_CLICK, 0, 0);
      },
      &forced);
  EXPECT_EQ(answer, IDNO);
  EXPECT_FALSE(forced) << "BM_CLICK did not end the box";
  ASSERT_TRUE(seen.box) << "the box did not come to the front";
  EXPECT_TRUE(seen.yes && seen.no && seen.cancel);
  EXPECT_EQ(std::set<HWND>({seen.yes, seen.no, seen.cancel, seen.box}).size(), 4u);
  EXPECT_EQ(seen.ok, HWND{}) << "a Yes/No/Cancel box has no OK button";
  EXPECT_EQ(seen.yes_text, "&Yes");
  EXPECT_EQ(seen.no_text, "&No");
  EXPECT_EQ(seen.cancel_text, "Cancel");
  EXPECT_EQ(seen.text_text, "Settare lo schermo intero?");
  EXPECT_EQ(seen.yes_parent, seen.box);
  EXPECT_EQ(seen.yes_id, IDYES);
  EXPECT_EQ(seen.buttons_found, std::multiset<int>({IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(seen.no_by_find, seen.no) << "class and title are matched without regard to case";
  EXPECT_EQ(seen.text_by_find, seen.text);
  EXPECT_TRUE(seen.rects_inside) << "the buttons lie inside the box";
  EXPECT_TRUE(seen.rects_apart);
  EXPECT_FALSE(IsWindow(seen.no)) << "the buttons go with the box";
}

TEST(MessageBoxControls, AClickPostedToAButtonAnswersWithIt) {
  bool forced = false;
  EXPECT_EQ(show_and_drive(
                "r", "Posted click", MB_RETRYCANCEL,
                [](HWND box) { PostMessageA(GetDlgItem(box, IDRETRY), BM_CLICK, 0, 0); }, &forced),
            IDRETRY);
  EXPECT_FALSE(forced);
}
