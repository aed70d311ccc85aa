// The X server going away under a running demo: the program must end on its own, say why on
// standard error and report failure, never hang on a dead connection.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "demo_session.h"

namespace {

using namespace zelvo_test;

TEST(ServerLoss, RunningDemoEndsWithAMessageAndAFailureStatus) {
  XServer x(false);
  ASSERT_TRUE(x.ok());
  auto demo = start_demo(x);
  const std::string window = open_demo(x, *demo, "n");
  ASSERT_FALSE(window.empty());
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(demo->running()) << demo->output();

  x.stop();
  ASSERT_TRUE(demo->wait(10s)) << "still running after the server went away\n" << demo->output();
  EXPECT_FALSE(demo->killed_by_signal()) << demo->output();
  EXPECT_NE(demo->exit_status(), 0) << demo->output();
  EXPECT_NE(demo->output().find("connection to the X server was lost"), std::string::npos)
      << demo->output();
}

TEST(ServerLoss, QuestionBoxOnADeadServerEndsTheProgramToo) {
  XServer x(false);
  ASSERT_TRUE(x.ok());
  auto demo = start_demo(x);
  ASSERT_FALSE(x.find_window("Video!").empty()) << demo->output();

  x.stop();
  ASSERT_TRUE(demo->wait(10s)) << "still waiting in its box\n" << demo->output();
  EXPECT_NE(demo->exit_status(), 0) << demo->output();
  EXPECT_NE(demo->output().find("connection to the X server was lost"), std::string::npos)
      << demo->output();
}

}  // namespace
