// The built TornadoDemo started as a user starts it, each scenario under an X server of its own,
// with and without a window manager, driven with xdotool.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "demo_session.h"

namespace {

using namespace zelvo_test;

TEST(TornadoDemo, AsksInItsBoxThenNoOpensTheWindowAndEscapeEndsIt) {
  XServer x(false);
  ASSERT_TRUE(x.ok());
  auto demo = start_demo(x);
  const std::string box = x.find_window("Video!");
  ASSERT_FALSE(box.empty()) << demo->output();
  // The box's text, as the box window publishes it; the closing quote proves both trailing spaces.
  const std::string text = x.run("xprop -id " + box + " _ZELVO_MESSAGE_TEXT").second;
  EXPECT_NE(text.find("= \"Settare lo schermo intero?  \""), std::string::npos) << text;

  x.type_into(box, "n");
  const std::string window = x.find_window("Tornado");
  ASSERT_FALSE(window.empty()) << demo->output();
  const auto g = x.geometry(window);
  // The X window is the client area: 800 x 600 outer less a 3-pixel frame and a 16-pixel caption.
  EXPECT_EQ(g[2], 794);
  EXPECT_EQ(g[3], 578);
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(demo->running()) << demo->output();

  // What the user sees is a drawn scene, not an empty window: the grey levels of the window's
  // pixels spread widely (a flat window gives 0).
  const std::string spread = x.run("import -window " + window +
                                   " -colorspace gray -format '%[fx:standard_deviation]' info:")
                                 .second;
  EXPECT_GT(std::atof(spread.c_str()), 0.05) << spread;

  // A left drag turns the scene and leaves the demo running.
  x.run("xdotool mousemove --window " + window + " 400 300 mousedown 1 mousemove --window " +
        window + " 450 280 mouseup 1");
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(demo->running()) << demo->output();

  x.type_into(window, "Escape");
  expect_ends_with_status_zero(*demo, 2s);
}

TEST(TornadoDemo, YesCoversTheScreenWithABorderlessWindow) {
  XServer x(true);
  ASSERT_TRUE(x.ok());
  auto demo = start_demo(x);
  const std::string window = open_demo(x, *demo, "y");
  ASSERT_FALSE(window.empty());
  // A borderless window: the window manager adds no frame, and it covers the screen up to the
  // layer's one-pixel nominal border.
  const auto g = x.geometry(window);
  EXPECT_LE(g[0], 1);
  EXPECT_LE(g[1], 1);
  EXPECT_GE(g[2], 1918);
  EXPECT_GE(g[3], 1078);
  EXPECT_LE(g[0] + g[2], 1920);
  EXPECT_LE(g[1] + g[3], 1080);
  x.type_into(window, "Escape");
  expect_ends_with_status_zero(*demo, 2s);
}

TEST(TornadoDemo, ClosingThroughTheWindowManagerEndsWithStatusZero) {
  XServer x(true);
  ASSERT_TRUE(x.ok());
  auto demo = start_demo(x);
  const std::string window = open_demo(x, *demo, "n");
  ASSERT_FALSE(window.empty());
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(x.run("wmctrl -c Tornado").first, 0);
  expect_ends_with_status_zero(*demo, 5s);
}

TEST(TornadoDemo, AltF4EndsItWithStatusZero) {
  // Without a window manager the layer itself turns Alt+F4 into the close command.
  XServer x(false);
  ASSERT_TRUE(x.ok());
  auto demo = start_demo(x);
  const std::string window = open_demo(x, *demo, "n");
  ASSERT_FALSE(window.empty());
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(demo->running()) << demo->output();
  x.type_into(window, "alt+F4");
  expect_ends_with_status_zero(*demo, 5s);
}

TEST(TornadoDemo, WithoutGlxTheContextFailureIsShownAndTheRunFails) {
  XServer x(false, false);
  ASSERT_TRUE(x.ok());
  auto demo = start_demo(x);
  const std::string box = x.find_window("Video!");
  ASSERT_FALSE(box.empty()) << demo->output();
  x.type_into(box, "n");
  const std::string error = x.find_window("Error");
  ASSERT_FALSE(error.empty()) << demo->output();
  const std::string text = x.run("xprop -id " + error + " _ZELVO_MESSAGE_TEXT").second;
  EXPECT_NE(text.find("non \xC3\xA8 stata inizilizata!"), std::string::npos) << text;
  x.type_into(error, "Return");
  ASSERT_TRUE(demo->wait(10s)) << demo->output();
  EXPECT_EQ(demo->exit_status(), 1) << demo->output();
  EXPECT_FALSE(demo->killed_by_signal()) << demo->output();
}

TEST(TornadoDemo, WithoutADisplayTheMessagesReachStandardErrorAndTheRunFails) {
  ChildProcess demo({kDemo}, {"DISPLAY"}, kDemoDir);
  ASSERT_TRUE(demo.wait(20s)) << demo.output();
  EXPECT_NE(demo.exit_status(), 0) << demo.output();
  EXPECT_FALSE(demo.killed_by_signal()) << demo.output();
  const std::string out = demo.output();
  EXPECT_NE(out.find("Video!"), std::string::npos) << out;
  EXPECT_NE(out.find("Settare lo schermo intero?"), std::string::npos) << out;
  EXPECT_NE(out.find("Impossibile creare la finestra per la rispettiva applicazione!"),
            std::string::npos)
      << out;
}

}  // namespace
