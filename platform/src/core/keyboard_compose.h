// Dead keys and compose sequences, as TranslateMessage types them. What a sequence makes is the
// user's compose table's (xkbcommon reads the same locale files as Xlib); what a key that ends no
// sequence types is Windows'. Works on keysyms (xkbcommon's values are X's) and UTF-8, so that
// every backend feeds it the same way.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace plat {

// What a key press types once dead keys and sequences are applied.
struct ComposedKey {
  std::string utf8;     // the characters; empty while a sequence is under way
  uint32_t keysym = 0;  // the key's (a dead key's own for WM_DEADCHAR), or the sequence result's
};

// The spacing character (Unicode) that stands for a dead key on its own, as WM_DEADCHAR carries it
// (dead_acute: U+00B4); 0 for a keysym that is no dead key.
char32_t keyboard_dead_char(uint32_t keysym);

// The locale whose compose table the keyboard reads, as the environment names it: the first
// non-empty of LC_ALL, LC_CTYPE and LANG, else "C". The layer never calls setlocale, so the
// program's own locale stays what the program made it.
std::string keyboard_compose_locale();

// The sequence state over one locale's compose table (a locale the files do not know gets the C
// table, and no table at all leaves dead keys that combine with nothing).
class KeyboardCompose {
 public:
  explicit KeyboardCompose(const std::string& locale);
  ~KeyboardCompose();
  KeyboardCompose(const KeyboardCompose&) = delete;
  KeyboardCompose& operator=(const KeyboardCompose&) = delete;

  // One key press: its keysym and what the key types on its own (UTF-8).
  ComposedKey press(uint32_t keysym, std::string_view own_utf8);

 private:
  ComposedKey flush(uint32_t keysym, std::string_view own_utf8);

  struct Xkb;
  std::unique_ptr<Xkb> xkb_;
  std::string pending_;  // the accents of the dead keys under way, as Windows-1252 in UTF-8
};

// A key press into the calling thread's sequence state, made at the thread's first key from
// keyboard_compose_locale(). Windows keeps the dead-key state per thread too: a dead key typed in
// one window combines with the next key in another window of the same thread.
ComposedKey keyboard_compose_press(uint32_t keysym, std::string_view own_utf8);

}  // namespace plat
