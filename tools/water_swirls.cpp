// The funnel's surface: diagonal swirls of bluish-grey water with transparent gaps between them.
// The funnel is drawn with an alpha test, so alpha is mostly fully on or fully off, with a narrow
// soft edge. The swirl phase uses whole-number frequencies in u and v, so the texture wraps both
// ways.
#include <algorithm>
#include <cmath>

#include "demo_texture_art.h"
#include "noise.h"

namespace tools {

Image MakeWaterSwirls() {
  constexpr int kSize = 256;
  constexpr uint32_t kSeed = 0xA7E3;
  constexpr float kTwoPi = 6.28318530718f;
  Image image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float u = static_cast<float>(x) / kSize, v = static_cast<float>(y) / kSize;
      const float warp = PeriodicFbm(u * 4, v * 4, 4, 4, kSeed);
      const float detail = PeriodicFbm(u * 8, v * 8, 8, 4, kSeed + 1);
      const float swirl = std::sin(kTwoPi * (3 * u + v) + 7.0f * warp);
      const float body = 0.5f + 0.5f * swirl + 0.6f * (detail - 0.5f);
      const float alpha = Smoothstep(0.38f, 0.52f, body);
      // Brighter foam along the crest of each swirl.
      const float crest = Smoothstep(0.75f, 1.0f, body);
      const float shade = 0.55f + 0.35f * detail + 0.25f * crest;
      uint8_t* p = image.at(x, y);
      p[0] = UnitToByte(shade * 0.62f);
      p[1] = UnitToByte(shade * 0.72f);
      p[2] = UnitToByte(shade * 0.86f);
      p[3] = UnitToByte(alpha);
    }
  }
  return image;
}

}  // namespace tools
