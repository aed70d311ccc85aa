// The message box hook: it sees the box's exact arguments and answers in its place; when it
// declines, the box appears after all (here the null backend's, answered from another thread).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "message_box_answer.h"

namespace {

struct HookCall {
  int calls = 0;
  std::string text, caption;
  UINT type = 0;
  int answer = 0;
};

int record_hook(HWND, LPCSTR text, LPCSTR caption, UINT type, void* context) {
  auto* call = static_cast<HookCall*>(context);
  ++call->calls;
  call->text = text;
  call->caption = caption;
  call->type = type;
  return call->answer;
}

}  // namespace

TEST(MessageBoxHook, SeesExactTextCaptionAndStyleAndAnswers) {
  HookCall call;
  call.answer = IDNO;
  SetMessageBoxHook(record_hook, &call);
  EXPECT_EQ(MessageBoxA(0, "Settare lo schermo intero?  ", "Video!", MB_YESNO | MB_ICONQUESTION),
            IDNO);
  EXPECT_EQ(call.calls, 1);
  EXPECT_EQ(call.text, "Settare lo schermo intero?  ");
  EXPECT_EQ(call.caption, "Video!");
  EXPECT_EQ(call.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));

  call.answer = IDOK;
  EXPECT_EQ(
      MessageBoxA(0, "la rispettiva applicazione non \xE8 stata inizilizata!", "Error", MB_OK),
      IDOK);
  EXPECT_EQ(call.text, "la rispettiva applicazione non \xE8 stata inizilizata!")
      << "the hook gets the 8-bit bytes";
  SetMessageBoxHook(nullptr, nullptr);
}

TEST(MessageBoxHook, ADeclinedBoxAppearsAfterAll) {
  HookCall call;  // answers 0
  SetMessageBoxHook(record_hook, &call);
  std::vector<zelvo_test::SeenBox> seen;
  {
    zelvo_test::BoxAnswerer answerer(IDOK, "Hook");
    EXPECT_EQ(MessageBoxA(0, "declined", "Hook", MB_OK), IDOK);
    seen = answerer.seen();
  }
  SetMessageBoxHook(nullptr, nullptr);
  EXPECT_EQ(call.calls, 1);
  ASSERT_EQ(seen.size(), 1u) << "the box did not appear";
  EXPECT_EQ(seen[0].text, "declined");

  // Removed, the hook is called no more.
  {
    zelvo_test::BoxAnswerer answerer(IDOK, "Hook");
    EXPECT_EQ(MessageBoxA(0, "unhooked", "Hook", MB_OK), IDOK);
  }
  EXPECT_EQ(call.calls, 1);
}
