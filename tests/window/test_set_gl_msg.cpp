// The frame loop's pump step: one message per call, never waiting.
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

#include "input_state.h"

namespace {

using zelvo_test::drain_messages;

class PumpStep : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_NE(zelvo_test::make_input_window("PumpStepTest"), 0u); }
  void SetUp() override {
    drain_messages();
    zelvo_test::reset_input_state();
    // A pump step that waited on an empty queue would hang here; end the program instead.
    std::signal(SIGALRM, [](int) { _exit(3); });
    alarm(20);
  }
  void TearDown() override { alarm(0); }
};

TEST_F(PumpStep, TakesExactlyOneMessagePerCall) {
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYDOWN, 'A', 1));
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYDOWN, 'B', 1));
  ASSERT_TRUE(PostMessageA(hWindow, WM_KEYUP, 'A', static_cast<LPARAM>(0xC0000001)));

  SetGLMsg();
  EXPECT_EQ(SetKey['A'], -1);
  EXPECT_EQ(SetKey['B'], 0);
  EXPECT_EQ(Msg_.hwnd, hWindow);
  EXPECT_EQ(Msg_.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(Msg_.wParam, static_cast<WPARAM>('A'));

  SetGLMsg();
  EXPECT_EQ(SetKey['B'], -1);
  EXPECT_EQ(Msg_.wParam, static_cast<WPARAM>('B'));

  SetGLMsg();
  EXPECT_EQ(SetKey['A'], 0);
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
  // The quit message waits in the queue and is dispatched by the next step without effect.
  SetGLMsg();
  EXPECT_EQ(Msg_.message, static_cast<UINT>(WM_QUIT));
  EXPECT_FALSE(Active);
  EXPECT_TRUE(IsWindow(hWindow));
}

}  // namespace
