// The parts of a message box that need no display: line breaking, the buttons of a style and
// what the keyboard does with them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// `text` (UTF-8) broken into lines at its line feeds and, greedily at spaces, so that each line
// fits `max_width` as measured by `measure`. A word wider than a line is broken between characters.
// Carriage returns are dropped and tabs become spaces.
std::vector<std::string> wrap_text(std::string_view text, int max_width,
                                   const std::function<int(std::string_view)>& measure);

// The width of `text` measured by `measure_piece` in pieces of at most `piece_bytes` bytes, cut
// between characters and summed: a text measure whose result is 16 bits wide (Xft's advance) would
// wrap around on a long line measured whole.
int measure_in_pieces(std::string_view text, size_t piece_bytes,
                      const std::function<int(std::string_view)>& measure_piece);

// At most `max_lines` of `lines`: when there are more, the last one kept ends with an ellipsis
// ("…"), shortened between characters until it fits `max_width`. At least one line is kept.
std::vector<std::string> cut_lines(std::vector<std::string> lines, size_t max_lines, int max_width,
                                   const std::function<int(std::string_view)>& measure);

struct BoxButton {
  int id;             // IDOK, IDCANCEL, ...
  const char* label;  // as shown
  char key;           // the letter that presses it (lower case)
  // The text of its button control, which automation reads: Windows' own, with the ampersand that
  // marks a mnemonic.
  const char* window_text;
};

// The buttons of a box style, left to right. An unknown style gets an OK button, so the message is
// still shown and can be dismissed.
std::vector<BoxButton> box_buttons(UINT type);

// Index of the default button (MB_DEFBUTTON1..3), kept within the buttons present.
size_t box_default_button(UINT type);

// What Escape and the window manager's close button answer: IDCANCEL where the box has Cancel, IDOK
// for an OK-only box, 0 (ignored) otherwise.
int box_escape_result(UINT type);

// The button a letter key presses (any case), or -1.
int box_button_for_key(UINT type, char letter);

}  // namespace plat
