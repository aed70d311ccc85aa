// Icons are drawn from a few shapes in a unit square, sampled 4 x 4 times per pixel for
// antialiasing, so that every size looks the same and no image file ships with the layer.
#include "icon_image.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace plat {
namespace {

using Shape = std::function<bool(double x, double y)>;  // inside test in unit coordinates

struct Layer {
  Shape shape;
  uint32_t colour;  // 0xRRGGBB, opaque
};

double segment_distance(double x, double y, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

Shape disc(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; };
}

Shape stroke(double ax, double ay, double bx, double by, double half_width) {
  return [=](double x, double y) { return segment_distance(x, y, ax, ay, bx, by) <= half_width; };
}

// Part of a ring around (cx, cy) from angle `from` to `to` (radians, counter-clockwise, y down).
Shape arc(double cx, double cy, double r, double half_width, double from, double to) {
  return [=](double x, double y) {
    if (std::abs(std::hypot(x - cx, y - cy) - r) > half_width) return false;
    double a = std::atan2(cy - y, x - cx);
    if (a < from) a += 2 * std::numbers::pi;
    return a >= from && a <= to;
  };
}

Shape rect(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}

Shape triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  return [=](double x, double y) {
    auto side = [&](double px, double py, double qx, double qy) {
      return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    double s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy), s3 = side(cx, cy, ax, ay);
    return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
  };
}

std::vector<Layer> layers_of(IconPicture picture) {
  constexpr uint32_t kWhite = 0xFFFFFF;
  const double pi = std::numbers::pi;
  switch (picture) {
    case IconPicture::Application:
      // A window: dark frame, blue caption bar, white client area.
      return {{rect(0.06, 0.12, 0.94, 0.88), 0x3C4650},
              {rect(0.10, 0.16, 0.90, 0.30), 0x2D7BD2},
              {rect(0.10, 0.34, 0.90, 0.84), kWhite},
              {rect(0.78, 0.19, 0.86, 0.27), kWhite}};
    case IconPicture::Error:
      return {{disc(0.5, 0.5, 0.47), 0xD83B2F},
              {stroke(0.33, 0.33, 0.67, 0.67, 0.07), kWhite},
              {stroke(0.33, 0.67, 0.67, 0.33, 0.07), kWhite}};
    case IconPicture::Question:
      // A "?": a hook (three quarters of a ring), a short stem and a dot.
      return {{disc(0.5, 0.5, 0.47), 0x2D6FCE},
              {arc(0.5, 0.38, 0.14, 0.065, -0.5 * pi, pi), kWhite},
              {stroke(0.5, 0.52, 0.5, 0.58, 0.065), kWhite},
              {disc(0.5, 0.77, 0.07), kWhite}};
    case IconPicture::Warning:
      return {{triangle(0.5, 0.05, 0.97, 0.92, 0.03, 0.92), 0xF2C200},
              {stroke(0.5, 0.33, 0.5, 0.62, 0.06), 0x222222},
              {disc(0.5, 0.78, 0.065), 0x222222}};
    case IconPicture::Information:
      return {{disc(0.5, 0.5, 0.47), 0x2D6FCE},
              {disc(0.5, 0.27, 0.075), kWhite},
              {stroke(0.5, 0.45, 0.5, 0.76, 0.065), kWhite}};
  }
  return {};
}

}  // namespace

IconImage paint_icon(IconPicture picture, int size) {
  size = std::max(size, 8);
  IconImage image;
  image.width = image.height = size;
  image.argb.assign(static_cast<size_t>(size) * size, 0);
  std::vector<Layer> layers = layers_of(picture);
  constexpr int kSamples = 4;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      // Straight colour and alpha, composited layer over layer ("over" operator).
      double a = 0, r = 0, g = 0, b = 0;
      for (const Layer& layer : layers) {
        int inside = 0;
        for (int sy = 0; sy < kSamples; ++sy)
          for (int sx = 0; sx < kSamples; ++sx)
            inside += layer.shape((px + (sx + 0.5) / kSamples) / size,
                                  (py + (sy + 0.5) / kSamples) / size);
        double c = static_cast<double>(inside) / (kSamples * kSamples);
        if (c == 0) continue;
        double lr = ((layer.colour >> 16) & 0xFF) / 255.0,
               lg = ((layer.colour >> 8) & 0xFF) / 255.0, lb = (layer.colour & 0xFF) / 255.0;
        double na = c + a * (1 - c);
        r = (lr * c + r * a * (1 - c)) / na;
        g = (lg * c + g * a * (1 - c)) / na;
        b = (lb * c + b * a * (1 - c)) / na;
        a = na;
      }
      auto byte = [](double v) {
        return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
      };
      image.argb[static_cast<size_t>(py) * size + px] =
          byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
    }
  }
  return image;
}

}  // namespace plat
