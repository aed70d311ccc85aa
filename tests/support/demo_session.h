// The built TornadoDemo as a user starts it: a private X server (with or without a window manager)
// per scenario, the demo process, and the xdotool steps that answer its box and find its window.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"

namespace zelvo_test {

using namespace std::chrono_literals;

inline const std::string kDemo = ZELVO_BINARY_DIR "/demo/TornadoDemo";
inline const std::string kDemoDir = ZELVO_BINARY_DIR "/demo";

// A private Xvfb of 1920 x 1080 x 24 with GLX, optionally with openbox managing it; `options`
// go to the server's command line as well (-dpi 120).
class XServer {
 public:
  explicit XServer(bool window_manager, bool glx = true, std::vector<std::string> options = {}) {
    int fds[2];
    if (pipe(fds) != 0) return;
    xvfb_ = fork();
    if (xvfb_ == 0) {
      close(fds[0]);
      const int null_out = open("/dev/null", O_WRONLY);
      dup2(null_out, 1);
      dup2(null_out, 2);
      std::vector<std::string> args = {"Xvfb",
                                       "-displayfd",
                                       std::to_string(fds[1]),
                                       "-screen",
                                       "0",
                                       "1920x1080x24",
                                       glx ? "+extension" : "-extension",
                                       "GLX",
                                       "-nolisten",
                                       "tcp",
                                       "-noreset"};
      args.insert(args.end(), options.begin(), options.end());
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execvp("Xvfb", argv.data());
      _exit(127);
    }
    close(fds[1]);
    // The server writes the number and the newline separately and fails if the pipe is gone in
    // between, so read up to the newline before closing.
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return;
    display_ = ":" + number;
    if (window_manager) {
      wm_ = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/openbox"},
                                           std::vector<std::string>{"DISPLAY=" + display_});
      for (int i = 0; i < 100 && run("wmctrl -m").first != 0; ++i)
        std::this_thread::sleep_for(50ms);
      // Openbox names itself on the root window before it manages new windows: a window mapped in
      // between is never focused, which failed about one activation test in two.
      std::this_thread::sleep_for(500ms);
    }
  }
  ~XServer() {
    wm_.reset();
    stop();
  }

  // Ends the server, as when a display goes away under its clients.
  void stop() {
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      waitpid(xvfb_, nullptr, 0);
      xvfb_ = -1;
    }
  }

  bool ok() const { return !display_.empty(); }
  const std::string& display() const { return display_; }

  // Runs a program against this server; returns its status and standard output. Every command is
  // bounded: a wait that never ends (xdotool's --sync on a window that never maps) is cut after
  // `seconds` with status 124.
  std::pair<int, std::string> run(const std::string& command, int seconds = 10) const {
    const std::string full = "DISPLAY=" + display_ + " timeout -k 2 " + std::to_string(seconds) +
                             " " + command + " 2>/dev/null";
    FILE* p = popen(full.c_str(), "r");
    if (!p) return {-1, {}};
    std::string out;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
  }

  // The window titled exactly `title`, waiting up to `seconds`; empty when none appears. A window
  // may get a new X window once when its GL pixel format is set, so the answer is the id that two
  // searches a moment apart agree on.
  std::string find_window(const std::string& title, int seconds = 15) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::string last;
    while (std::chrono::steady_clock::now() < end) {
      auto [status, out] = run("xdotool search --name '^" + title + "$'");
      const std::string id = status == 0 ? out.substr(0, out.find('\n')) : std::string{};
      if (!id.empty() && id == last) return id;
      last = id;
      std::this_thread::sleep_for(200ms);
    }
    return {};
  }

  // Gives `window` the keyboard focus and types `keys` into it through XTest.
  void type_into(const std::string& window, const std::string& keys) const {
    if (wm_)
      run("xdotool windowactivate --sync " + window);
    else
      run("xdotool windowfocus --sync " + window);
    run("xdotool key " + keys);
  }

  // Client geometry of a window from xwininfo: x, y, width, height.
  std::array<int, 4> geometry(const std::string& window) const {
    const std::string info = run("xwininfo -id " + window).second;
    auto field = [&](const char* name) {
      const auto at = info.find(name);
      return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + std::strlen(name));
    };
    return {field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"),
            field("Height:")};
  }

 private:
  pid_t xvfb_ = -1;
  std::string display_;
  std::unique_ptr<ChildProcess> wm_;
};

inline std::unique_ptr<ChildProcess> start_demo(const XServer& x) {
  return std::make_unique<ChildProcess>(std::vector<std::string>{kDemo},
                                        std::vector<std::string>{"DISPLAY=" + x.display()},
                                        kDemoDir);
}

// Starts the demo and answers the question box with `key`; returns the Tornado window.
inline std::string open_demo(const XServer& x, ChildProcess& demo, const std::string& key) {
  const std::string box = x.find_window("Video!");
  EXPECT_FALSE(box.empty()) << demo.output();
  if (box.empty()) return {};
  x.type_into(box, key);
  const std::string window = x.find_window("Tornado");
  EXPECT_FALSE(window.empty()) << demo.output();
  return window;
}

inline void expect_ends_with_status_zero(ChildProcess& demo, std::chrono::milliseconds within) {
  ASSERT_TRUE(demo.wait(within)) << "still running\n" << demo.output();
  EXPECT_EQ(demo.exit_status(), 0) << demo.output();
}

}  // namespace zelvo_test
