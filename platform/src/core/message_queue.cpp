// The message queue: posted messages, then the quit request, then input, then WM_PAINT for windows
// waiting to be painted, in that order of priority, as the original platform hands them out.
#include <deque>
#include <new>
#include <utility>

#include "error_codes.h"
#include "message_queue.h"
#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

// An input message with the text its key press typed, so that however many wait, each press keeps
// its own until TranslateMessage.
struct Input {
  MSG msg;
  TypedText typed;
};

struct Queue {
  std::deque<MSG> posted;
  std::deque<Input> input;
  bool quit = false;
  int quit_code = 0;
  MSG last{};  // the message most recently taken, for GetMessagePos and GetMessageTime
};

// The framework is single-threaded; each thread still gets a queue of its own, as on the original.
thread_local Queue g_queue;

bool is_descendant(HWND h, HWND ancestor) {
  for (WindowObject* w = window_get(h); w; w = window_get(w->parent))
    if (w->parent == ancestor) return true;
  return false;
}

bool matches_window(HWND msg_window, HWND filter) {
  if (filter == 0) return true;
  if (filter == HWND_MESSAGE_ONLY_THREAD) return msg_window == 0;
  return msg_window == filter || is_descendant(msg_window, filter);
}

bool matches(const MSG& m, HWND filter, UINT first, UINT last) {
  if (!matches_window(m.hwnd, filter)) return false;
  if (first == 0 && last == 0) return true;
  return m.message >= first && m.message <= last;
}

MSG& message_of(MSG& m) { return m; }
MSG& message_of(Input& m) { return m.msg; }

// A key-down message leaves its text behind for TranslateMessage only when it is taken for good:
// a peek that leaves it queued keeps the text with it.
void taking(MSG&) {}
void taking(Input& m) {
  if (!m.typed.chars.empty()) keyboard_hold_text(m.msg, std::move(m.typed));
}

template <class Entry>
bool take_from(std::deque<Entry>& queue, LPMSG msg, HWND filter, UINT first, UINT last,
               bool remove) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!matches(message_of(*it), filter, first, last)) continue;
    *msg = message_of(*it);
    if (remove) {
      taking(*it);
      queue.erase(it);
    }
    return true;
  }
  return false;
}

bool paint_message(LPMSG msg, HWND filter, UINT first, UINT last) {
  if (window_invalid_count() == 0) return false;
  if (!(first == 0 && last == 0) && !(WM_PAINT >= first && WM_PAINT <= last)) return false;
  for (HWND h : window_list()) {
    WindowObject* w = window_get(h);
    if (!w || !w->invalid || !visible_on_screen(w) || !matches_window(h, filter)) continue;
    *msg = make_message(h, WM_PAINT, 0, 0);
    return true;
  }
  return false;
}

// 1: a message, 0: none, -1: the window filter names no window.
int take(LPMSG msg, HWND filter, UINT first, UINT last, bool remove) {
  Queue& q = g_queue;
  if (filter != 0 && filter != HWND_MESSAGE_ONLY_THREAD && !window_get(filter)) return -1;
  if (q.posted.empty() && !q.quit && q.input.empty() && window_invalid_count() == 0) return 0;
  bool found = take_from(q.posted, msg, filter, first, last, remove);
  if (!found && q.quit) {
    // The quit request comes whatever the filter, once the posted messages are out.
    *msg = make_message(0, WM_QUIT, static_cast<WPARAM>(q.quit_code), 0);
    if (remove) q.quit = false;
    found = true;
  }
  if (!found) found = take_from(q.input, msg, filter, first, last, remove);
  if (!found) found = paint_message(msg, filter, first, last);
  if (found) q.last = *msg;
  return found ? 1 : 0;
}

}  // namespace

MSG make_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  MSG m;
  m.hwnd = window;
  m.message = message;
  m.wParam = wparam;
  m.lParam = lparam;
  m.time = GetTickCount();
  m.pt = input_last_cursor();
  return m;
}

void queue_posted_input(const MSG& msg) { g_queue.posted.push_back(msg); }

void queue_input(const MSG& msg, TypedText typed) {
  g_queue.input.push_back(Input{msg, std::move(typed)});
}

void queue_mouse_move(const MSG& msg) {
  auto& input = g_queue.input;
  if (!input.empty() && input.back().msg.message == WM_MOUSEMOVE &&
      input.back().msg.hwnd == msg.hwnd) {
    input.back().msg = msg;
    return;
  }
  input.push_back(Input{msg, {}});
}

void queue_forget_window(HWND h) {
  auto forget = [h](auto& queue) {
    for (auto it = queue.begin(); it != queue.end();)
      it = message_of(*it).hwnd == h ? queue.erase(it) : it + 1;
  };
  forget(g_queue.posted);
  forget(g_queue.input);
}

}  // namespace plat

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // A shown message box takes its messages in its own loop, and may be posted to from any thread.
  if (window != 0 && plat::box_message(window, message, wparam, lparam, false)) return TRUE;
  if (window != 0 && !plat::window_checked(window)) return FALSE;
  // A program that posts faster than it reads would otherwise grow the queue without end. Input
  // has a queue of its own and never counts against this quota.
  if (plat::g_queue.posted.size() >= plat::kMaxPostedMessages) {
    SetLastError(plat::kErrorNotEnoughQuota);
    return FALSE;
  }
  try {
    plat::g_queue.posted.push_back(plat::make_message(window, message, wparam, lparam));
  } catch (const std::bad_alloc&) {
    SetLastError(plat::kErrorNotEnoughMemory);
    return FALSE;
  }
  return TRUE;
}

void PostQuitMessage(int exit_code) {
  plat::g_queue.quit = true;
  plat::g_queue.quit_code = exit_code;
}

BOOL PeekMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max, UINT remove) {
  if (!msg) return FALSE;
  plat::native_pump_events();
  return plat::take(msg, window, filter_min, filter_max, (remove & PM_REMOVE) != 0) == 1 ? TRUE
                                                                                         : FALSE;
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max) {
  if (!msg) return -1;
  for (;;) {
    plat::native_pump_events();
    int got = plat::take(msg, window, filter_min, filter_max, true);
    if (got < 0) return -1;
    if (got > 0) return msg->message == WM_QUIT ? FALSE : TRUE;
    // When nothing can ever arrive on this thread's queue (no display), report the failure rather
    // than wait for ever.
    if (!plat::native_wait_events()) return -1;
  }
}

DWORD GetMessagePos(void) {
  const MSG& m = plat::g_queue.last;
  return static_cast<DWORD>(MAKELONG(m.pt.x, m.pt.y));
}

LONG GetMessageTime(void) { return static_cast<LONG>(plat::g_queue.last.time); }
