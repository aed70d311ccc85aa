// Answers message boxes as a Windows program's automation does, with Windows API calls only: a
// second thread finds the box by its class ("#32770") and caption with FindWindowA, reads its
// caption and text, and clicks a button by posting the WM_COMMAND that the button sends.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zelvo_test {

struct SeenBox {
  std::string caption, text;
};

class BoxAnswerer {
 public:
  // Answers every box titled `caption` (nullptr: every box) with the button `id`, until destroyed.
  explicit BoxAnswerer(int id, const char* caption = nullptr)
      : id_(id),
        caption_(caption ? caption : ""),
        any_(caption == nullptr),
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
  std::atomic<bool> stop_{false};
  mutable std::mutex lock_;
  std::vector<SeenBox> seen_;
  std::thread thread_;
};

}  // namespace zelvo_test
