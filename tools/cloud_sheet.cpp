// The cloud sprite sheet: 8 cells across, 4 down, each a different soft puff made of a few
// overlapping blobs roughened by noise. Alpha falls to zero well inside each cell, so neighbouring
// cells never bleed into a sprite; the transparent background is stored as zero bytes, which
// run-length encodes to almost nothing.
#include <algorithm>
#include <cmath>

#include "demo_texture_art.h"
#include "noise.h"

namespace tools {

Image MakeCloudSheet() {
  constexpr int kCell = 64, kAcross = 8, kDown = 4;
  constexpr uint32_t kSeed = 0xC10D;
  Image image(kCell * kAcross, kCell * kDown);
  for (int cell = 0; cell < kAcross * kDown; ++cell) {
    const int cx0 = (cell % kAcross) * kCell, cy0 = (cell / kAcross) * kCell;
    struct Blob {
      float x, y, r;
    } blobs[7];
    const int count = 4 + static_cast<int>(HashUnit(cell, 0, kSeed) * 4);  // 4 to 7 blobs
    for (int i = 0; i < count; ++i) {
      const float angle = 6.2831853f * HashUnit(cell, i + 1, kSeed + 1);
      const float dist = 15.0f * HashUnit(cell, i + 1, kSeed + 2);
      blobs[i] = {32 + dist * std::cos(angle), 32 + dist * std::sin(angle) * 0.8f,
                  4.5f + 5.5f * HashUnit(cell, i + 1, kSeed + 3)};
    }
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        float density = 0;
        for (int i = 0; i < count; ++i) {
          const float dx = x - blobs[i].x, dy = y - blobs[i].y;
          density += std::exp(-(dx * dx + dy * dy) / (2 * blobs[i].r * blobs[i].r));
        }
        const float rough = PeriodicFbm(x / 8.0f, y / 8.0f, 8, 4, kSeed + 100 + cell);
        density *= 0.35f + 1.3f * rough;
        const float r = std::hypot(x - 31.5f, y - 31.5f);
        const float window = 1.0f - Smoothstep(22.0f, 30.0f, r);
        const float alpha = Smoothstep(0.12f, 0.95f, 1.0f - std::exp(-1.2f * density)) * window;
        uint8_t* p = image.at(cx0 + x, cy0 + y);
        const uint8_t a = UnitToByte(alpha);
        if (a < 4) continue;  // stays 0, 0, 0, 0
        // Lit from above: the top of each puff is whiter than its base.
        const float shade =
            std::clamp(0.72f + 0.22f * (1.0f - y / 63.0f) + 0.12f * (rough - 0.5f), 0.0f, 1.0f);
        p[0] = static_cast<uint8_t>(shade * 250.0f);
        p[1] = static_cast<uint8_t>(shade * 252.0f);
        p[2] = static_cast<uint8_t>(shade * 255.0f);
        p[3] = a;
      }
    }
  }
  return image;
}

}  // namespace tools
