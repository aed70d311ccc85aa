// Seeded, tileable value noise for the generated textures. Integer hashing only, so the output is
// the same on every machine and every run.
#pragma once

#include <cstdint>

namespace tools {

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed);
// A value in [0, 1) from the hash.
float HashUnit(uint32_t x, uint32_t y, uint32_t seed);

// Smooth value noise on a lattice that repeats every `period` cells in both directions; x and y in
// lattice units. Result in [0, 1).
float PeriodicNoise(float x, float y, int period, uint32_t seed);

// Sum of `octaves` periodic noises, each twice as fine and half as strong; normalised to [0, 1).
float PeriodicFbm(float x, float y, int period, int octaves, uint32_t seed);

float Smoothstep(float edge0, float edge1, float x);

// A value in 0..1 (clamped) as a byte, rounded to the nearest step.
uint8_t UnitToByte(float x);

}  // namespace tools
