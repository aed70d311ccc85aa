// The thread's message queue under a random sequence of calls: create and destroy windows, post
// (also in floods past the quota), peek with and without removing and with window and range
// filters, get, dispatch, quit. A model of the posted messages says what each call must return: no
// crash, no message lost, duplicated or reordered, the quota error exactly when the queue is full.
// Key presses arrive with the text they typed, as the backend queues them, and are taken and
// translated late, out of order or never: each translated press gives its own text, once.
// Windows need an X server: with DISPLAY unset only thread messages are exercised.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "message_queue.h"

namespace {

constexpr UINT kFirst = WM_USER;
constexpr UINT kLast = WM_USER + 15;
constexpr size_t kQuota = 10000;
constexpr size_t kMaxWindows = 3;

struct Posted {
  HWND hwnd;
  UINT message;
  WPARAM wparam;
};

struct Dispatched {
  HWND hwnd;
  UINT message;
  WPARAM wparam;
  int count = 0;
} g_dispatched;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m >= kFirst && m <= kLast) g_dispatched = {h, m, w, g_dispatched.count + 1};
  return DefWindowProcA(h, m, w, l);
}

bool RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "FuzzQueueWindow";
    return RegisterClassA(&wc) != 0;
  }();
  return registered;
}

class Run {
 public:
  Run(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  void Go() {
    while (pos_ < size_) Step(Next() % 12);
    for (HWND h : windows_) Destroy(h);
    windows_.clear();
    // Everything left comes out in order, then the quit request if one was made.
    while (!model_.empty() || quit_) Take(0, 0, 0, true);
    while (!keys_.empty()) TakeKey();
    while (!held_.empty()) Translate(0);
  }

 private:
  uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }

  HWND PickWindow() {
    const uint8_t b = Next();
    if (windows_.empty() || b % 4 == 0) return 0;
    return windows_[b % windows_.size()];
  }

  void Post(HWND h, UINT message) {
    const WPARAM serial = next_serial_++;
    SetLastError(0);
    const BOOL ok = PostMessageA(h, message, serial, 0);
    if (model_.size() >= kQuota) {
      if (ok || GetLastError() != 1816) __builtin_trap();
      return;
    }
    if (!ok) __builtin_trap();
    model_.push_back({h, message, serial});
  }

  void Destroy(HWND h) {
    DestroyWindow(h);
    // The window's messages go with it.
    for (auto it = model_.begin(); it != model_.end();)
      it = it->hwnd == h ? model_.erase(it) : it + 1;
  }

  // Takes or peeks one message through the filter and checks it against the model.
  void Take(HWND filter, UINT first, UINT last, bool remove) {
    auto wanted = model_.end();
    for (auto it = model_.begin(); it != model_.end(); ++it) {
      const bool window_ok = filter == 0 || it->hwnd == filter;
      const bool range_ok =
          (first == 0 && last == 0) || (it->message >= first && it->message <= last);
      if (window_ok && range_ok) {
        wanted = it;
        break;
      }
    }
    MSG msg{};
    const BOOL got = PeekMessageA(&msg, filter, first, last, remove ? PM_REMOVE : PM_NOREMOVE);
    if (!got) {
      if (wanted != model_.end() || quit_) __builtin_trap();  // lost
      return;
    }
    if (msg.message == WM_QUIT) {
      if (wanted != model_.end() || !quit_) __builtin_trap();
      if (remove) quit_ = false;
      return;
    }
    if (msg.message < kFirst || msg.message > kLast) {
      // Input and the system messages of a real window (paint, focus) come only after every posted
      // one.
      if (wanted != model_.end() || quit_) __builtin_trap();
      if (msg.message == WM_KEYDOWN && msg.hwnd == 0) {
        Taken(msg, remove);
      } else if (remove) {
        DispatchMessageA(&msg);
      }
      return;
    }
    if (wanted == model_.end() || msg.hwnd != wanted->hwnd || msg.message != wanted->message ||
        msg.wParam != wanted->wparam)
      __builtin_trap();  // invented, duplicated or out of order
    const Posted taken = *wanted;
    if (remove) model_.erase(wanted);
    last_ = msg;
    if (remove) {
      const int before = g_dispatched.count;
      DispatchMessageA(&last_);
      const bool reaches = taken.hwnd != 0 && IsWindow(taken.hwnd);
      if (reaches != (g_dispatched.count == before + 1)) __builtin_trap();
      if (reaches && (g_dispatched.hwnd != taken.hwnd || g_dispatched.wparam != taken.wparam))
        __builtin_trap();
    }
  }

  void Step(uint8_t op) {
    switch (op) {
      case 0:
        if (windows_.size() < kMaxWindows && have_display_) {
          HWND h =
              CreateWindowExA(0, "FuzzQueueWindow", "", WS_POPUP, 0, 0, 8, 8, 0, 0, 0, nullptr);
          if (h) windows_.push_back(h);
        }
        break;
      case 1:
        if (!windows_.empty()) {
          const size_t i = Next() % windows_.size();
          Destroy(windows_[i]);
          windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(i));
        }
        break;
      case 2:
      case 3:
        Post(PickWindow(), kFirst + Next() % 16);
        break;
      case 4: {  // a flood, up to and past the quota
        const size_t n = size_t{Next()} * 64;
        const HWND h = PickWindow();
        for (size_t i = 0; i < n; ++i) Post(h, kFirst);
        break;
      }
      case 5: {
        const uint8_t b = Next();
        const HWND filter = (b & 1) ? PickWindow() : 0;
        const UINT first = (b & 2) ? kFirst + (b >> 4) % 8 : 0;
        const UINT last = (b & 2) ? first + (b >> 2) % 8 : 0;
        Take(filter, first, last, (b & 4) != 0);
        break;
      }
      case 6:
        // GetMessageA waits when nothing matches; it is asked only when something is there.
        if (!model_.empty() || quit_) {
          MSG msg{};
          const BOOL got = GetMessageA(&msg, 0, 0, 0);
          if (got == FALSE) {
            if (!quit_ || !model_.empty()) __builtin_trap();
            quit_ = false;
          } else if (got == TRUE && msg.message >= kFirst && msg.message <= kLast) {
            const Posted& front = model_.front();
            if (msg.hwnd != front.hwnd || msg.wParam != front.wparam) __builtin_trap();
            model_.pop_front();
          } else if (got != TRUE) {
            __builtin_trap();
          }
        }
        break;
      case 7:
        DispatchMessageA(&last_);  // a second dispatch of a message already taken is harmless
        break;
      case 8:
        PostQuitMessage(Next());
        quit_ = true;
        break;
      case 9: {  // presses of a few keys, so that several look alike but type other texts
        const uint8_t b = Next();
        std::string text(b % 4, static_cast<char>('a' + Next() % 26));
        const MSG m = plat::make_message(0, WM_KEYDOWN, 'A' + b % 3, 1 | ((b >> 4) % 2) << 16);
        plat::queue_input(m, plat::TypedText{text, false});
        keys_.push_back({m, text});
        break;
      }
      case 10:
        if (!keys_.empty()) TakeKey();
        break;
      case 11:
        if (!held_.empty()) Translate(Next() % held_.size());
        break;
    }
  }

  static bool Alike(const MSG& a, const MSG& b) {
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam &&
           a.lParam == b.lParam && a.time == b.time;
  }

  void TakeKey() {
    MSG msg{};
    if (!PeekMessageA(&msg, 0, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) __builtin_trap();  // lost
    if (msg.message == WM_QUIT) {  // it comes first whatever the filter
      if (!quit_) __builtin_trap();
      quit_ = false;
      return TakeKey();
    }
    Taken(msg, true);
  }

  // A key-down came out of the queue: the oldest press waiting, and with `remove` its text now
  // waits for TranslateMessage.
  void Taken(const MSG& msg, bool remove) {
    if (keys_.empty() || !Alike(msg, keys_.front().first)) __builtin_trap();
    if (!remove) return;
    if (!keys_.front().second.empty()) held_.push_back(std::move(keys_.front()));
    keys_.pop_front();
    // A program that never translates cannot make texts wait without end: the oldest go.
    if (held_.size() > kMaxHeld) held_.pop_front();
  }

  // Translates the i-th key-down taken and not yet translated: it types the text of the oldest
  // press that looks alike (presses alike are translated in the order taken), each character once.
  void Translate(size_t i) {
    const MSG m = held_[i].first;
    size_t oldest = 0;
    while (!Alike(held_[oldest].first, m)) ++oldest;
    const std::string text = held_[oldest].second;
    held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(oldest));
    if (!TranslateMessage(&m)) __builtin_trap();
    for (char c : text) {
      MSG ch{};
      if (!PeekMessageA(&ch, 0, WM_CHAR, WM_CHAR, PM_REMOVE) || ch.wParam != WPARAM(uint8_t(c)))
        __builtin_trap();
    }
    MSG extra{};
    if (PeekMessageA(&extra, 0, WM_CHAR, WM_CHAR, PM_NOREMOVE) && extra.message == WM_CHAR)
      __builtin_trap();  // invented
  }

  static constexpr size_t kMaxHeld = 64;
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool have_display_ = RegisterOnce() && GetSystemMetrics(SM_CXSCREEN) > 0;
  std::vector<HWND> windows_;
  std::deque<Posted> model_;
  bool quit_ = false;
  std::deque<std::pair<MSG, std::string>> keys_;  // queued key presses and their texts
  std::deque<std::pair<MSG, std::string>> held_;  // taken, waiting for TranslateMessage
  WPARAM next_serial_ = 1;
  MSG last_{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Run(data, size).Go();
  return 0;
}
