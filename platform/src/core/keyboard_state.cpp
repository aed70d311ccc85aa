// Key state and the text that key presses typed, as TranslateMessage and GetKeyState read them.
#include "keyboard_state.h"

#include <array>
#include <deque>
#include <utility>

namespace plat {
namespace {

// What key presses typed and were not yet translated, oldest first. A press that is never
// translated is dropped once later ones are, or when the list is full.
struct Typed {
  LPARAM lparam;
  DWORD time;
  TypedText text;
};
constexpr size_t kMaxTyped = 64;
std::deque<Typed> g_typed;
std::array<bool, 256> g_key_down{};
std::array<bool, 256> g_key_toggled{};

}  // namespace

void keyboard_note_text(LPARAM lparam, DWORD time, TypedText text) {
  if (g_typed.size() == kMaxTyped) g_typed.pop_front();
  g_typed.push_back(Typed{lparam, time, std::move(text)});
}

TypedText keyboard_take_text(LPARAM lparam, DWORD time) {
  for (auto it = g_typed.begin(); it != g_typed.end(); ++it) {
    if (it->lparam != lparam || it->time != time) continue;
    TypedText text = std::move(it->text);
    g_typed.erase(g_typed.begin(), it + 1);
    return text;
  }
  return {};
}

void keyboard_set_state(UINT virtual_key, bool down) {
  if (virtual_key >= 256) return;
  if (down && !g_key_down[virtual_key]) g_key_toggled[virtual_key] = !g_key_toggled[virtual_key];
  g_key_down[virtual_key] = down;
}

}  // namespace plat

SHORT GetKeyState(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= 256) return 0;
  unsigned state =
      (plat::g_key_down[virtual_key] ? 0x8000u : 0u) | (plat::g_key_toggled[virtual_key] ? 1u : 0u);
  return static_cast<SHORT>(state);
}
