// The floor: a 4 x 4 grid of worn stone slabs in grout. The grid and the noise both repeat every
// 256 pixels, so the floor's 3 x 3 repetition shows no seams.
#include <algorithm>
#include <cmath>

#include "demo_texture_art.h"
#include "noise.h"

namespace tools {

Image MakeFloorTiles() {
  constexpr int kSize = 256, kTile = 64, kGrout = 3;
  constexpr uint32_t kSeed = 0x5107E;
  Image image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int tx = x / kTile, ty = y / kTile;
      const int lx = x % kTile, ly = y % kTile;
      // Distance to the slab's edge, inside the grout band negative.
      const int edge = std::min({lx, ly, kTile - 1 - lx, kTile - 1 - ly}) - kGrout;
      const float grain = PeriodicFbm(x / 16.0f, y / 16.0f, kSize / 16, 5, kSeed);
      const float speckle = HashUnit(x, y, kSeed + 1);
      float r, g, b;
      if (edge < 0) {
        const float shade = 0.30f + 0.15f * grain;
        r = g = b = shade;
        g *= 0.97f;
        b *= 0.92f;
      } else {
        // Each slab its own tint; light from the top-left bevels the first pixels of each edge.
        const float tint = HashUnit(tx, ty, kSeed + 2);
        float base = 0.50f + 0.18f * tint + 0.30f * (grain - 0.5f) + 0.06f * (speckle - 0.5f);
        if (edge < 3) {
          const bool lit = (lx - kGrout < 3 || ly - kGrout < 3) && lx + ly < kTile;
          base *= lit ? 1.18f : 0.78f;
        }
        const float warm = 0.04f * HashUnit(tx, ty, kSeed + 3);
        r = base * (1.02f + warm);
        g = base * 0.97f;
        b = base * (0.88f - warm);
      }
      uint8_t* p = image.at(x, y);
      p[0] = UnitToByte(r);
      p[1] = UnitToByte(g);
      p[2] = UnitToByte(b);
      p[3] = 255;
    }
  }
  return image;
}

}  // namespace tools
