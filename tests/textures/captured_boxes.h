// Message boxes of the texture tests, recorded as Windows automation sees them: a second thread
// finds each real box (tests/support/message_box_answer.h), reads its caption, text and buttons,
// and answers OK. The same in both worlds; on Linux the boxes are the null backend's or the X
// server's, whichever the test links.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "message_box_answer.h"

namespace tex_test {

struct Box {
  std::string text, caption;
  int style;  // the MB_ button set its buttons make (MB_OK, ...); an icon cannot be seen this way
};

// Answers and records every message box shown while it lives. A box is recorded before it is
// answered, so the caller's MessageBoxA has returned only after its box is in boxes().
class CapturedBoxes {
 public:
  std::vector<Box> boxes() const {
    std::vector<Box> out;
    for (const zelvo_test::SeenBox& seen : answerer_.seen())
      out.push_back({seen.text, seen.caption, zelvo_test::button_style(seen.buttons)});
    return out;
  }
  // Caption and text of every box, for a failure message.
  std::string texts() const {
    std::string out;
    for (const Box& box : boxes()) out += "[" + box.caption + ": " + box.text + "] ";
    return out;
  }

 private:
  zelvo_test::BoxAnswerer answerer_{IDOK};
};

}  // namespace tex_test
