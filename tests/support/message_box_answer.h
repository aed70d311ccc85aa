// Answers and drives message boxes as a Windows program's automation does, with Windows API calls
// only: a second thread finds the box by its class ("#32770") and caption with FindWindowA, reads
// its caption, text and buttons (its child windows of class "Button"), and clicks a button by
// posting the WM_COMMAND that the button sends, or waits until the box is in front and lets the
// test drive it; a box left up afterwards is closed so that a failing test ends.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zelvo_test {

struct SeenBox {
  std::string caption, text;
  std::vector<int> buttons;  // the ids of its buttons, as FindWindowExA finds them
};

// The MB_ button set (MB_OK, MB_YESNO, ...) of a box with these buttons; -1 for none known.
inline int button_style(std::vector<int> ids) {
  std::sort(ids.begin(), ids.end());
  const std::vector<std::pair<std::vector<int>, int>> sets = {
      {{IDOK}, MB_OK},
      {{IDOK, IDCANCEL}, MB_OKCANCEL},
      {{IDABORT, IDRETRY, IDIGNORE}, MB_ABORTRETRYIGNORE},
      {{IDCANCEL, IDYES, IDNO}, MB_YESNOCANCEL},
      {{IDYES, IDNO}, MB_YESNO},
      {{IDCANCEL, IDRETRY}, MB_RETRYCANCEL},
      {{IDCANCEL, IDTRYAGAIN, IDCONTINUE}, MB_CANCELTRYCONTINUE}};
  for (const auto& [set, style] : sets)
    if (set == ids) return style;
  return -1;
}

class BoxAnswerer {
 public:
  // Answers every box titled `caption` (nullptr: every box) with the button `id`, until destroyed.
  // `seeing` is called on the answering thread with each box before it is answered.
  explicit BoxAnswerer(int id, const char* caption = nullptr,
                       std::function<void(const SeenBox&)> seeing = {})
      : id_(id),
        caption_(caption ? caption : ""),
        any_(caption == nullptr),
        seeing_(std::move(seeing)),
        thread_([this] { run(); }) {}
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<SeenBox> seen() const {
    std::lock_guard<std::mutex> hold(lock_);
    return seen_;
  }

 private:
  void run() {
    HWND last = 0;
    while (!stop_) {
      HWND box = FindWindowA("#32770", any_ ? nullptr : caption_.c_str());
      if (box && box != last) {
        SeenBox s;
        char buffer[4096];
        if (GetWindowTextA(box, buffer, sizeof buffer) > 0) s.caption = buffer;
        if (GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer) > 0) s.text = buffer;
        for (HWND b = FindWindowExA(box, 0, "Button", nullptr); b && s.buttons.size() < 16;
             b = FindWindowExA(box, b, "Button", nullptr))
          s.buttons.push_back(GetDlgCtrlID(b));
        if (seeing_) seeing_(s);
        {
          std::lock_guard<std::mutex> hold(lock_);
          seen_.push_back(s);
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED), 0);
        last = box;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  const int id_;
  const std::string caption_;
  const bool any_;
  const std::function<void(const SeenBox&)> seeing_;
  std::atomic<bool> stop_{false};
  mutable std::mutex lock_;
  std::vector<SeenBox> seen_;
  std::thread thread_;
};

// The box titled `caption` once it is shown and in front (bounded wait), as automation waits for
// it before it presses anything; 0 when it did not come.
inline HWND box_in_front(const char* caption) {
  HWND box = 0;
  for (int attempt = 0; attempt < 3000; ++attempt) {
    if (!box) box = FindWindowA("#32770", caption);
    if (box && IsWindowVisible(box) && GetForegroundWindow() == box) return box;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

// A box that is still up after `drive` is closed through its first button, so that a failing
// test ends instead of waiting for ever; `closed_by_force` tells the test.
inline int show_and_drive(const char* text, const char* caption, UINT type,
                          const std::function<void(HWND)>& drive, bool* closed_by_force) {
  *closed_by_force = false;
  std::thread driver([&] {
    HWND box = box_in_front(caption);
    if (box) drive(box);
    for (int attempt = 0; attempt < 500; ++attempt) {
      if (!FindWindowA("#32770", caption)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (HWND left = FindWindowA("#32770", caption)) {
      *closed_by_force = true;
      HWND first = FindWindowExA(left, 0, "Button", nullptr);
      PostMessageA(left, WM_COMMAND, MAKEWPARAM(first ? GetDlgCtrlID(first) : IDOK, BN_CLICKED), 0);
    }
  });
  const int answer = MessageBoxA(0, text, caption, type);
  driver.join();
  return answer;
}

}  // namespace zelvo_test
