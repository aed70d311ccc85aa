// Message boxes recorded instead of shown, through our layer's automation hook: the texture tests
// that check a box's style as well as its text. (Tests that run on Windows too answer real boxes
// with tests/support/message_box_answer.h.)
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tex_test {

struct Box {
  std::string text, caption;
  UINT style;
};

// Records every message box instead of showing it, answering OK.
class CapturedBoxes {
 public:
  CapturedBoxes() { SetMessageBoxHook(&Hook, this); }
  ~CapturedBoxes() { SetMessageBoxHook(nullptr, nullptr); }
  CapturedBoxes(const CapturedBoxes&) = delete;
  CapturedBoxes& operator=(const CapturedBoxes&) = delete;
  std::vector<Box> boxes;

 private:
  static int Hook(HWND owner, LPCSTR text, LPCSTR caption, UINT style, void* self) {
    static_cast<CapturedBoxes*>(self)->boxes.push_back(
        {text ? text : "", caption ? caption : "", style});
    return IDOK;
  }
};

}  // namespace tex_test
