// Tileable value noise.
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace tools {

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

float HashUnit(uint32_t x, uint32_t y, uint32_t seed) {
  return static_cast<float>(Hash(x, y, seed) >> 8) / 16777216.0f;
}

float PeriodicNoise(float x, float y, int period, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  auto wrap = [period](int v) { return static_cast<uint32_t>(((v % period) + period) % period); };
  const float tx = x - fx, ty = y - fy;
  const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const float a = HashUnit(wrap(ix), wrap(iy), seed), b = HashUnit(wrap(ix + 1), wrap(iy), seed);
  const float c = HashUnit(wrap(ix), wrap(iy + 1), seed),
              d = HashUnit(wrap(ix + 1), wrap(iy + 1), seed);
  return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

float PeriodicFbm(float x, float y, int period, int octaves, uint32_t seed) {
  float sum = 0, weight = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += weight * PeriodicNoise(x, y, period, seed + 7919u * o);
    total += weight;
    x *= 2;
    y *= 2;
    period *= 2;
    weight *= 0.5f;
  }
  return sum / total;
}

float Smoothstep(float edge0, float edge1, float x) {
  float t = (x - edge0) / (edge1 - edge0);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return t * t * (3 - 2 * t);
}

uint8_t UnitToByte(float x) {
  return static_cast<uint8_t>(std::lround(std::clamp(x, 0.0f, 1.0f) * 255.0f));
}

}  // namespace tools
