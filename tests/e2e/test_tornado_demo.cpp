// The built TornadoDemo started as a user starts it, each scenario under an X server of its own,
// with and without a window manager, driven with xdotool.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>
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

// The GL calls of start-up, from the context becoming current to the first frame's clear, as
// apitrace records them: OpenGL_Init, SetGLRefractive, SetGLLight(GL_LIGHT0, 0, 0, 0, 0.1), then
// the BMP floor, the water and the cloud textures in that order. Queries (glGet*) and the tracer's
// own notes are left out; each entry is the start of one recorded call.
TEST(TornadoDemo, StartUpMakesItsGlCallsInTheDocumentedOrder) {
  XServer x(false);
  ASSERT_TRUE(x.ok());
  char trace_name[] = "/tmp/zelvo-startup-XXXXXX";
  const int fd = mkstemp(trace_name);
  ASSERT_GE(fd, 0);
  close(fd);
  const std::string trace = std::string(trace_name) + ".trace";
  ChildProcess demo({"/usr/bin/apitrace", "trace", "-o", trace, kDemo}, {"DISPLAY=" + x.display()},
                    kDemoDir);
  const std::string window = open_demo(x, demo, "n");
  ASSERT_FALSE(window.empty());
  std::this_thread::sleep_for(500ms);
  x.type_into(window, "Escape");
  expect_ends_with_status_zero(demo, 20s);
  const std::string dump = x.run("apitrace dump --call-nos=no --color=never " + trace, 60).second;
  std::remove(trace.c_str());
  std::remove(trace_name);

  std::vector<std::string> calls;
  bool current = false;
  std::istringstream lines(dump);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("glXMakeCurrent(", 0) == 0) current = true;
    if (!current || line.rfind("gl", 0) != 0 || line.rfind("glGet", 0) == 0 ||
        line.rfind("glX", 0) == 0 || line.find("// fake") != std::string::npos)
      continue;
    calls.push_back(line);
    if (line.rfind("glClear(mask = GL_COLOR_BUFFER_BIT)", 0) == 0) break;
  }
  const std::vector<std::string> texture_parameters = {
      "glTexParameteri(target = GL_TEXTURE_2D, pname = GL_TEXTURE_MIN_FILTER, param = GL_LINEAR)",
      "glTexParameteri(target = GL_TEXTURE_2D, pname = GL_TEXTURE_MAG_FILTER, param = GL_LINEAR)",
      "glTexParameteri(target = GL_TEXTURE_2D, pname = GL_TEXTURE_WRAP_S, param = GL_REPEAT)",
      "glTexParameteri(target = GL_TEXTURE_2D, pname = GL_TEXTURE_WRAP_T, param = GL_REPEAT)"};
  std::vector<std::string> expected = {
      // OpenGL_Init(100, 0, 0, 0, 0)
      "glClearColor(red = 0, green = 0, blue = 0, alpha = 0)",
      "glViewport(x = 0, y = 0, width = 800, height = 600)", "glMatrixMode(mode = GL_PROJECTION)",
      "glLoadIdentity()", "glMultMatrixd(",  // gluPerspective
      "glMatrixMode(mode = GL_MODELVIEW)", "glLoadIdentity()", "glClearDepth(depth = 100)",
      "glEnable(cap = GL_DEPTH_TEST)", "glDepthFunc(func = GL_LEQUAL)",
      "glColor4f(red = 1, green = 1, blue = 1, alpha = 0.5)",
      "glBlendFunc(sfactor = GL_SRC_ALPHA, dfactor = GL_ONE)",
      "glLightModeli(pname = GL_LIGHT_MODEL_LOCAL_VIEWER, param = 1)",
      "glHint(target = GL_LINE_SMOOTH_HINT, mode = GL_NICEST)",
      "glHint(target = GL_POLYGON_SMOOTH_HINT, mode = GL_NICEST)",
      "glHint(target = GL_PERSPECTIVE_CORRECTION_HINT, mode = GL_NICEST)",
      "glEnable(cap = GL_AUTO_NORMAL)", "glEnable(cap = GL_NORMALIZE)",
      // SetGLRefractive
      "glEnable(cap = GL_CULL_FACE)", "glCullFace(mode = GL_BACK)", "glFrontFace(mode = GL_CCW)",
      // SetGLLight(GL_LIGHT0, 0, 0, 0, 0.1)
      "glEnable(cap = GL_LIGHTING)", "glLightfv(light = GL_LIGHT0, pname = GL_AMBIENT,",
      "glLightfv(light = GL_LIGHT0, pname = GL_DIFFUSE,",
      "glLightfv(light = GL_LIGHT0, pname = GL_SPECULAR,", "glEnable(cap = GL_LIGHT0)",
      "glLightfv(light = GL_LIGHT0, pname = GL_POSITION, params = {0, 0, 0, 0.1})",
      // TextureLoadID("Floor04.bmp", 0): a 24-bit file
      "glEnable(cap = GL_TEXTURE_2D)", "glGenTextures(n = 1,",
      "glBindTexture(target = GL_TEXTURE_2D,",
      "glPixelStorei(pname = GL_UNPACK_ALIGNMENT, param = 4)",
      "glPixelStorei(pname = GL_UNPACK_ROW_LENGTH, param = 0)",
      "glPixelStorei(pname = GL_UNPACK_SKIP_ROWS, param = 0)",
      "glPixelStorei(pname = GL_UNPACK_SKIP_PIXELS, param = 0)"};
  expected.insert(expected.end(), texture_parameters.begin(), texture_parameters.end());
  expected.push_back("glTexImage2D(target = GL_TEXTURE_2D, level = 0, internalformat = 3,");
  // TextureLoadTGAID("water3.tga", 0) and ("CloudsParticles4.tga", 1): 32-bit files, whose rows
  // need no unpack setting of their own
  for (int tga = 0; tga < 2; ++tga) {
    expected.insert(expected.end(), {"glEnable(cap = GL_TEXTURE_2D)", "glGenTextures(n = 1,",
                                     "glBindTexture(target = GL_TEXTURE_2D,",
                                     "glTexImage2D(target = GL_TEXTURE_2D, level = 0, "
                                     "internalformat = 4,"});
    expected.insert(expected.end(), texture_parameters.begin(), texture_parameters.end());
  }
  expected.push_back("glClear(mask = GL_COLOR_BUFFER_BIT)");  // the first frame

  ASSERT_EQ(calls.size(), expected.size()) << dump.substr(0, 20000);
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(calls[i].rfind(expected[i], 0), 0u) << "call " << i << ": " << calls[i];
}

// Started from a folder without its textures, the demo finds them beside its executable and says
// nothing; a copy of it with only the floor texture beside it names, on standard error, each file
// it found in neither folder, and still runs.
TEST(TornadoDemo, StartedFromAnotherFolderItLooksBesideItsExecutable) {
  XServer x(false);
  ASSERT_TRUE(x.ok());
  char pattern[] = "/tmp/zelvo-elsewhere-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path elsewhere = pattern;
  const auto run_from_elsewhere = [&](const std::string& program) {
    ChildProcess demo({program}, {"DISPLAY=" + x.display()}, elsewhere.string());
    const std::string window = open_demo(x, demo, "n");
    std::this_thread::sleep_for(500ms);
    if (!window.empty()) x.type_into(window, "Escape");
    expect_ends_with_status_zero(demo, 5s);
    return demo.output();
  };

  const std::string found = run_from_elsewhere(kDemo);
  EXPECT_EQ(found.find("TornadoDemo: texture file"), std::string::npos) << found;
  EXPECT_EQ(found.find("Zelvo:"), std::string::npos) << found;

  const std::filesystem::path copy = elsewhere / "bin";
  std::filesystem::create_directory(copy);
  std::filesystem::copy_file(kDemo, copy / "TornadoDemo");
  std::filesystem::copy_file(kDemoDir + "/Floor04.bmp", copy / "Floor04.bmp");
  const std::string missing = run_from_elsewhere((copy / "TornadoDemo").string());
  for (const char* name : {"water3.tga", "CloudsParticles4.tga"}) {
    const std::string line = std::string("TornadoDemo: texture file \"") + name +
                             "\" is neither in the current folder (" + elsewhere.string() +
                             ") nor beside the program (" + copy.string() + "/)\n";
    EXPECT_NE(missing.find(line), std::string::npos) << missing;
  }
  EXPECT_EQ(missing.find("Floor04.bmp"), std::string::npos) << missing;
  std::filesystem::remove_all(elsewhere);
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
