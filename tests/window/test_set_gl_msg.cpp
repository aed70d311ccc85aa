// The frame loop's pump step: one message per call, never waiting.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include "input_state.h"

namespace {

using zelvo_test::drain_messages;

// Ends the program with status 3 unless disarmed within `seconds`: a pump step that waited on an
// empty queue would otherwise hang the test.
class Watchdog {
 public:
  explicit Watchdog(int seconds)
      : thread_([this, seconds] {
          std::unique_lock<std::mutex> hold(lock_);
          if (!disarmed_.wait_for(hold, std::chrono::seconds(seconds), [this] { return done_; }))
            std::_Exit(3);
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      done_ = true;
    }
    disarmed_.notify_one();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex lock_;
  std::condition_variable disarmed_;
  bool done_ = false;
  std::thread thread_;
};

class PumpStep : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(zelvo_test::make_input_window("PumpStepTest")); }
  void SetUp() override {
    drain_messages();
    zelvo_test::reset_input_state();
    watchdog_ = std::make_unique<Watchdog>(20);
  }
  void TearDown() override { watchdog_.reset(); }

  std::unique_ptr<Watchdog> watchdog_;
};

// Function keys: Windows' TranslateMessage types no character for them, so the three messages are
// all there is.
TEST_F(PumpStep, TakesExactlyOneMessagePerCall) {
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYDOWN, VK_F5, 1));
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYDOWN, VK_F6, 1));
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC0000001)));

  SetGLMsg();
  EXPECT_EQ(SetKey[VK_F5], -1);
  EXPECT_EQ(SetKey[VK_F6], 0);
  EXPECT_EQ(Msg_.hwnd, hWindow);
  EXPECT_EQ(Msg_.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(Msg_.wParam, static_cast<WPARAM>(VK_F5));

  SetGLMsg();
  EXPECT_EQ(SetKey[VK_F6], -1);
  EXPECT_EQ(Msg_.wParam, static_cast<WPARAM>(VK_F6));

  SetGLMsg();
  EXPECT_EQ(SetKey[VK_F5], 0);
  EXPECT_EQ(Msg_.message, static_cast<UINT>(WM_KEYUP));

  MSG m{};
  EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE)) << "message " << m.message;
}

TEST_F(PumpStep, ReturnsAtOnceOnAnEmptyQueue) {
  MSG m{};
  ASSERT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE)) << "message " << m.message;
  for (int i = 0; i < 100; ++i) SetGLMsg();
  // Still nothing waiting, and a message posted afterwards is the next one taken.
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYDOWN, 'C', 1));
  SetGLMsg();
  EXPECT_EQ(SetKey['C'], -1);
}

TEST_F(PumpStep, EscapeThroughThePumpEndsTheRunAndQuitIsTakenLikeAnyMessage) {
  Active = true;
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYDOWN, VK_ESCAPE, 1));
  SetGLMsg();
  EXPECT_FALSE(Active);
  EXPECT_TRUE(IsWindow(hWindow));
  // The quit message waits in the queue and is dispatched by the next step without effect (on
  // Windows the step after the character that TranslateMessage typed for the Escape key).
  SetGLMsg();
  if (Msg_.message == WM_CHAR) {
    EXPECT_EQ(Msg_.wParam, static_cast<WPARAM>(VK_ESCAPE));
    SetGLMsg();
  }
  EXPECT_EQ(Msg_.message, static_cast<UINT>(WM_QUIT));
  EXPECT_FALSE(Active);
  EXPECT_TRUE(IsWindow(hWindow));
}

}  // namespace
