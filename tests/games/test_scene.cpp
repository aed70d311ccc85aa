// The demo's scene, drawn by the demo's own OpenGL_Draw with the demo's textures on a real Mesa
// context at 800 x 600, checked in the screen regions where the camera puts each part of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "Zelv_Games.h"
#include "gl_test_context.h"
#include "twister_test_util.h"

// The demo's own scene procedures, from the tornado_scene library the demo is built on.
#include "scene.h"

using namespace twister_test;

namespace {

constexpr int kW = 800, kH = 600;

// The demo's camera: 45 degree perspective, then the fixed camera, then the mouse view (GL_M0).
struct Camera {
  double xrot = 0, yrot = 0, depth = 0;
  Mat4 Projection() const {
    double f = 1 / std::tan(22.5 * std::numbers::pi / 180), n = 0.1, far_plane = 100;
    Mat4 p;
    p.m[0] = f / (double(kW) / kH);
    p.m[5] = f;
    p.m[10] = (far_plane + n) / (n - far_plane);
    p.m[11] = -1;
    p.m[14] = 2 * far_plane * n / (n - far_plane);
    return p;
  }
  static Mat4 Rotate(double deg, int axis) {
    double c = std::cos(deg * std::numbers::pi / 180), s = std::sin(deg * std::numbers::pi / 180);
    Mat4 r = Mat4::Identity();
    int a = (axis + 1) % 3, b = (axis + 2) % 3;
    r.m[a * 4 + a] = c, r.m[b * 4 + b] = c, r.m[a * 4 + b] = s, r.m[b * 4 + a] = -s;
    return r;
  }
  Mat4 View() const {
    return Mat4::Translate(0, 0, -20) * Rotate(25, 0) * Mat4::Translate(0, 0, -depth) *
           Rotate(xrot, 0) * Rotate(yrot, 1);
  }
  // Window pixel (x right, y up) of a scene point.
  std::pair<int, int> Project(Vec3 p) const {
    Vec3 e = View().Apply(p);
    Mat4 pr = Projection();
    double cx = pr.m[0] * e.x, cy = pr.m[5] * e.y, w = -e.z;
    return {static_cast<int>((cx / w + 1) / 2 * kW), static_cast<int>((cy / w + 1) / 2 * kH)};
  }
};

struct Image {
  std::vector<uint8_t> px;
  const uint8_t* at(int x, int y) const { return &px[(static_cast<size_t>(y) * kW + x) * 4]; }
  void SavePpm(const std::string& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fprintf(f, "P6 %d %d 255\n", kW, kH);
    for (int y = kH - 1; y >= 0; --y)
      for (int x = 0; x < kW; ++x) std::fwrite(at(x, y), 1, 3, f);
    std::fclose(f);
  }
};

class Scene : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gl = new zelvo_test::GlTestContext(kW, kH);
    ASSERT_TRUE(gl->ok());
    Width = kW;
    Height = kH;
    // As the demo starts: projection, culling, one light, then the textures from the run folder.
    OpenGL_Init(100.0, 0.0, 0.0, 0.0, 0.0);
    SetGLRefractive();
    SetGLLight(GL_LIGHT0, 0.0f, 0.0f, 0.0f, 0.1f);
    std::string dir = std::string(ZELVO_BINARY_DIR) + "/demo";
    for (const char* name : {"Floor04.bmp", "water3.tga", "CloudsParticles4.tga"})
      ASSERT_TRUE(std::filesystem::exists(dir + "/" + name))
          << dir << "/" << name << " is missing: build the demo_textures target first";
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    OpenGL_CreateList();
    std::filesystem::current_path(old);
  }
  static void TearDownTestSuite() {
    delete gl;
    gl = nullptr;
  }
  static Image Frames(int n) {
    for (int k = 0; k < n; ++k) OpenGL_Draw();
    glFinish();
    return {gl->read_pixels()};
  }
  static zelvo_test::GlTestContext* gl;
};
zelvo_test::GlTestContext* Scene::gl = nullptr;

// Screen rectangle (window pixels, y up) covering a box of the scene.
struct Rect {
  int x0, y0, x1, y1;
};
Rect Covering(const Camera& cam, Vec3 lo, Vec3 hi) {
  Rect r{kW, kH, 0, 0};
  for (int c = 0; c < 8; ++c) {
    auto [x, y] = cam.Project({c & 1 ? hi.x : lo.x, c & 2 ? hi.y : lo.y, c & 4 ? hi.z : lo.z});
    r.x0 = std::min(r.x0, x), r.y0 = std::min(r.y0, y), r.x1 = std::max(r.x1, x),
    r.y1 = std::max(r.y1, y);
  }
  r.x0 = std::max(r.x0, 0), r.y0 = std::max(r.y0, 0), r.x1 = std::min(r.x1, kW - 1),
  r.y1 = std::min(r.y1, kH - 1);
  return r;
}
// The box a tornado standing at (x, 0, z) can fill: radius below 2 with the sway, 5.5 high.
Rect TornadoAt(const Camera& cam, double x, double z) {
  return Covering(cam, {x - 2, 0, z - 2}, {x + 2, 5.5, z + 2});
}
// The outer part of the left (side -1) or right (side 1) tornado's box, beyond the reach of the
// cloud column's widest sprites (radius, sway and half-size together stay under 3.2).
Rect OuterSide(const Camera& cam, int side) {
  return side < 0 ? Covering(cam, {-7, 0, -2}, {-3.6, 5.5, 2})
                  : Covering(cam, {3.6, 0, -2}, {7, 5.5, 2});
}
// The part of a rectangle above the far_plane edge of the floor, where only the tornado or the
// black background can be.
Rect AboveFloor(const Camera& cam, Rect r) {
  int horizon = 0;
  for (double x = -10; x <= 10; x += 0.5)
    for (double z : {-10.0, 10.0}) horizon = std::max(horizon, cam.Project({x, 0, z}).second);
  r.y0 = std::max(r.y0, horizon + 3);
  return r;
}

bool Blue(const uint8_t* p) { return p[2] > p[0] + 30 && p[2] > 80; }
bool White(const uint8_t* p) { return p[0] > 215 && p[1] > 215 && p[2] > 215; }
bool Black(const uint8_t* p) { return p[0] < 12 && p[1] < 12 && p[2] < 12; }
bool Grey(const uint8_t* p) {
  int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
  return hi > 25 && hi - lo < 20;
}
template <class Pred>
int Count(const Image& img, Rect r, Pred pred) {
  int n = 0;
  for (int y = r.y0; y <= r.y1; ++y)
    for (int x = r.x0; x <= r.x1; ++x) n += pred(img.at(x, y));
  return n;
}

LPARAM At(int x, int y) {
  return static_cast<LPARAM>((static_cast<uint32_t>(y) << 16) | static_cast<uint32_t>(x));
}

TEST_F(Scene, FloorFunnelCloudsAndSpheresStandWhereTheCameraPutsThem) {
  Image img = Frames(10);
  img.SavePpm(std::string(ZELVO_BINARY_DIR) + "/games_scene.ppm");
  Camera cam;
  Rect left = TornadoAt(cam, -5, 0), middle = TornadoAt(cam, 0, 0), right = TornadoAt(cam, 5, 0);
  ASSERT_LT(left.x1, middle.x0);
  ASSERT_LT(middle.x1, right.x0);

  // The floor in front of the tornadoes: lit, tiled (grout lines much darker than tiles), never
  // blue.
  for (Vec3 p : {Vec3{0, 0, 7}, Vec3{-7, 0, 6}, Vec3{7, 0, 6}, Vec3{-3, 0, 3}}) {
    auto [cx, cy] = cam.Project(p);
    Rect patch{cx - 25, cy - 25, cx + 25, cy + 25};
    int darkest = 255, brightest = 0, blue = 0;
    for (int y = patch.y0; y <= patch.y1; ++y)
      for (int x = patch.x0; x <= patch.x1; ++x) {
        const uint8_t* q = img.at(x, y);
        int lum = (q[0] + q[1] + q[2]) / 3;
        darkest = std::min(darkest, lum), brightest = std::max(brightest, lum);
        blue += Blue(q);
      }
    EXPECT_GT(brightest, 90) << "floor at " << p.x << "," << p.z;
    EXPECT_GT(brightest - darkest, 40) << "no tile pattern at " << p.x << "," << p.z;
    EXPECT_EQ(blue, 0) << "floor at " << p.x << "," << p.z;
  }
  // Behind the floor: the black clear colour.
  EXPECT_EQ(Count(img, {0, kH - 40, 60, kH - 1}, Black), 40 * 61);

  // The water-textured funnel at the left, and only there.
  EXPECT_GT(Count(img, left, Blue), 2000);
  EXPECT_GT(Count(img, AboveFloor(cam, OuterSide(cam, -1)), Blue), 300);
  EXPECT_EQ(Count(img, middle, Blue), 0);
  EXPECT_EQ(Count(img, right, Blue), 0);

  // The cloud column in the middle: bright white puffs whose soft edges blend into the black
  // behind them.
  Rect sky = AboveFloor(cam, middle);
  EXPECT_GT(Count(img, middle, White), 3000);
  EXPECT_GT(Count(img, sky, White), 500);
  EXPECT_GT(Count(img, sky, [](const uint8_t* p) { return Grey(p) && p[0] < 180 && p[0] > 40; }),
            100);
  EXPECT_LT(Count(img, AboveFloor(cam, OuterSide(cam, 1)), White), 20);

  // The untextured spheres at the right: grey, lit from above and behind, against black.
  EXPECT_GT(Count(img, AboveFloor(cam, OuterSide(cam, 1)), Grey), 300);
}

TEST_F(Scene, LeftDragTurnsTheScene) {
  Frames(1);  // sets the mouse speed the window procedure uses
  ASSERT_EQ(MSpeed, 2);
  float x0 = XRot, y0 = YRot;
  // Drag 90 pixels to the right: with speed 2 that is 90 degrees about the vertical axis.
  GLWndProc(hWindow, WM_LBUTTONDOWN, MK_LBUTTON, At(300, 300));
  GLWndProc(hWindow, WM_MOUSEMOVE, MK_LBUTTON, At(390, 300));
  GLWndProc(hWindow, WM_LBUTTONUP, 0, At(390, 300));
  ASSERT_FLOAT_EQ(YRot, y0 + 90);
  ASSERT_FLOAT_EQ(XRot, x0);
  Image img = Frames(3);
  img.SavePpm(std::string(ZELVO_BINARY_DIR) + "/games_scene_turned.ppm");

  Camera before, after;
  after.yrot = 90;
  // places where they stood show only floor and background now.
  Rect funnelNow = TornadoAt(after, -5, 0);
  EXPECT_GT(Count(img, funnelNow, Blue), 2000);
  EXPECT_EQ(Count(img, OuterSide(before, -1), Blue), 0);
  EXPECT_EQ(Count(img, AboveFloor(before, OuterSide(before, 1)), Grey), 0);
  EXPECT_EQ(Count(img, AboveFloor(before, OuterSide(before, -1)),
                  [](const uint8_t* p) { return !Black(p); }),
            0);

  // Turning back by the same drag restores the first view's layout.
  GLWndProc(hWindow, WM_LBUTTONDOWN, MK_LBUTTON, At(390, 300));
  GLWndProc(hWindow, WM_MOUSEMOVE, MK_LBUTTON, At(300, 300));
  GLWndProc(hWindow, WM_LBUTTONUP, 0, At(300, 300));
  img = Frames(1);
  EXPECT_GT(Count(img, TornadoAt(before, -5, 0), Blue), 2000);
  EXPECT_GT(Count(img, AboveFloor(before, OuterSide(before, 1)), Grey), 300);
}

}  // namespace
