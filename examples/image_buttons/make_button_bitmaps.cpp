// Draws the example's button bitmaps: a star, a rounded blob and an arrow, each in a normal, a
// hover and a pressed look, on a magenta key, as 24-bit BMP files <Name>N.BMP, <Name>H.BMP,
// <Name>P.BMP. Edges are hard (no blending into the key), so the shape cut from the key is exactly
// the drawing.
//
// usage: make_button_bitmaps OUTPUT_FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgb {
  double r, g, b;
};

constexpr double kPi = 3.14159265358979323846;

using Mask = std::function<bool(double x, double y)>;

struct Shape {
  const char* name;
  int width, height;
  Mask inside;
  Rgb colour;
};

bool InPolygon(const std::vector<std::pair<double, double>>& poly, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const auto [xi, yi] = poly[i];
    const auto [xj, yj] = poly[j];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}

std::vector<std::pair<double, double>> Star(double cx, double cy, double outer, double inner) {
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < 10; ++i) {
    const double angle = -kPi / 2 + i * kPi / 5;
    const double radius = i % 2 ? inner : outer;
    points.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
  }
  return points;
}

enum class Look { Normal, Hover, Pressed };

uint8_t Channel(double v) { return uint8_t(std::lround(std::fmin(std::fmax(v, 0.0), 254.0))); }

void Write(const std::string& path, const Shape& shape, Look look) {
  const int w = shape.width, h = shape.height;
  // The pressed look sinks one pixel down and right inside the same outline.
  const double shift = look == Look::Pressed ? 1.0 : 0.0;
  auto in = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && shape.inside(x + 0.5, y + 0.5);
  };
  const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
  std::vector<uint8_t> image(size_t(stride) * h, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Magenta outside; red and blue are capped at 254 inside so no drawn pixel falls in the key.
      double r = 255, g = 0, b = 255;
      if (in(x, y)) {
        int edge = 0;  // distance to the outline, up to 3 pixels
        while (edge < 3 && in(x - edge - 1, y) && in(x + edge + 1, y) && in(x, y - edge - 1) &&
               in(x, y + edge + 1))
          ++edge;
        const double light = 1.15 - 0.5 * (y - shift) / h;  // lit from above
        double k = look == Look::Hover ? 1.25 : look == Look::Pressed ? 0.75 : 1.0;
        if (look == Look::Pressed) k *= 0.9 + 0.2 * (y - shift) / h;  // light from below: sunk in
        r = shape.colour.r * light * k;
        g = shape.colour.g * light * k;
        b = shape.colour.b * light * k;
        if (edge < 2) {  // outline: dark, or a bright rim when hovered
          const double rim = look == Look::Hover ? 255 : 30;
          r = g = b = rim;
          if (look == Look::Hover) b = 120;
        }
      }
      uint8_t* p = &image[size_t(h - 1 - y) * stride + x * 3];
      p[0] = uint8_t(b == 255 && r == 255 && g == 0 ? 255 : Channel(b));
      p[1] = Channel(g);
      p[2] = uint8_t(b == 255 && r == 255 && g == 0 ? 255 : Channel(r));
    }
  }

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::exit(1);
  }
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(int((v >> (8 * i)) & 0xFF), f);
  };
  const uint32_t size = 54 + uint32_t(image.size());
  std::fputc('B', f);
  std::fputc('M', f);
  put(size, 4), put(0, 4), put(54, 4);
  put(40, 4), put(uint32_t(w), 4), put(uint32_t(h), 4), put(1, 2), put(24, 2), put(0, 4);
  put(uint32_t(image.size()), 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  std::fwrite(image.data(), 1, image.size(), f);
  if (std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];

  const auto star = Star(48, 50, 46, 19);
  const auto arrow = std::vector<std::pair<double, double>>{{4, 26},  {70, 26}, {70, 6}, {116, 40},
                                                            {70, 74}, {70, 54}, {4, 54}};
  const Shape shapes[] = {
      {"Star",
       96,
       96,
       [star](double x, double y) { return InPolygon(star, x, y); },
       {250, 200, 40}},
      {"Blob",
       110,
       90,
       [](double x, double y) {
         const double dx = (x - 55) / 50, dy = (y - 45) / 40;
         const double angle = std::atan2(dy, dx);
         const double reach = 0.82 + 0.12 * std::sin(3 * angle) + 0.06 * std::cos(5 * angle + 1);
         return dx * dx + dy * dy < reach * reach;
       },
       {60, 190, 110}},
      {"Arrow",
       120,
       80,
       [arrow](double x, double y) { return InPolygon(arrow, x, y); },
       {70, 130, 240}},
  };
  for (const Shape& shape : shapes) {
    Write(folder + "/" + shape.name + "N.BMP", shape, Look::Normal);
    Write(folder + "/" + shape.name + "H.BMP", shape, Look::Hover);
    Write(folder + "/" + shape.name + "P.BMP", shape, Look::Pressed);
  }
  return 0;
}
