// Key state and the text that key presses typed, as TranslateMessage and GetKeyState read them.
#include "keyboard_state.h"

#include <array>
#include <deque>
#include <utility>

namespace plat {
namespace {

// Key-down messages taken from the queue with a text and not yet translated, oldest first. The
// text travels with its message in the queue, so nothing waits here but what the program has
// already read; a program that never translates would otherwise grow the list without end, so the
// oldest go once this many wait. Each thread translates its own messages, as its queue is its own.
struct Held {
  MSG key_down;
  TypedText text;
};
constexpr size_t kMaxHeld = 64;
thread_local std::deque<Held> g_held;
std::array<bool, 256> g_key_down{};
std::array<bool, 256> g_key_toggled{};

bool same_message(const MSG& a, const MSG& b) {
  return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam &&
         a.lParam == b.lParam && a.time == b.time;
}

}  // namespace

void keyboard_hold_text(const MSG& key_down, TypedText text) {
  if (g_held.size() == kMaxHeld) g_held.pop_front();
  g_held.push_back(Held{key_down, std::move(text)});
}

TypedText keyboard_take_text(const MSG& key_down) {
  // The oldest match: presses of one key within one millisecond look alike, and a program that
  // takes several before translating them translates them in the order it took them.
  for (auto it = g_held.begin(); it != g_held.end(); ++it) {
    if (!same_message(it->key_down, key_down)) continue;
    TypedText text = std::move(it->text);
    g_held.erase(it);
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
