// BitmapToRegion on every kind of mask (solid, ring, random, one-pixel checkerboard) from 256^2 to
// 4096^2, beside its floor in the same run: one ExtCreateRegion over the same rectangle list (one
// rectangle per opaque run of each row, made before the timing). Names are "region-MASK:SIZE:ours"
// and ":floor"; scripts/bench pairs them and also checks that 4x the pixels takes at most 4.5x
// time. A ":bound" beside them is the least any builder from the file does: read() the file into a
// fresh buffer, one pass over its bytes, and that same ExtCreateRegion. For a mask of few runs the
// floor is a few rectangles while the file is megabytes, so the bound says how far ours is from
// what reading the picture costs.
#include <benchmark/benchmark.h>

#include <zelvo/controls.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "file_floor.h"

namespace {

bool Opaque(const std::string& mask, int size, int x, int y, uint32_t& seed) {
  if (mask == "solid") return true;
  if (mask == "checker") return (x + y) % 2 == 0;
  if (mask == "random") {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 1;
  }
  const int64_t dx = x - size / 2, dy = y - size / 2, d2 = dx * dx + dy * dy;  // ring
  const int64_t outer = int64_t(size) * 45 / 100, inner = int64_t(size) * 30 / 100;
  return d2 < outer * outer && d2 >= inner * inner;
}

struct Mask {
  std::string path;
  std::vector<uint8_t> region_data;  // RGNDATA with the runs, one-pixel-high rectangles
};

// A 24-bit bottom-up BMP on a magenta key, and the RGNDATA of its runs.
const Mask& TheMask(const std::string& mask, int size) {
  static std::map<std::string, Mask> made;
  const std::string key = mask + "-" + std::to_string(size);
  if (auto it = made.find(key); it != made.end()) return it->second;
  Mask m;
  m.path = (std::filesystem::temp_directory_path() / ("zelvo-bench-mask-" + key + ".bmp")).string();
  zelvo_test::BmpFile file;
  file.width = file.height = size;
  file.bpp = 24;
  const uint64_t stride = zelvo_test::bmp_stride(size, 24);
  file.pixels.assign(stride * size, 0);
  std::vector<RECT> rects;
  uint32_t seed = 7;
  for (int y = 0; y < size; ++y) {
    uint8_t* row = &file.pixels[uint64_t(size - 1 - y) * stride];
    int run = -1;
    for (int x = 0; x <= size; ++x) {
      const bool in = x < size && Opaque(mask, size, x, y, seed);
      if (x < size) {
        uint8_t* p = row + uint64_t(x) * 3;
        p[0] = in ? 40 : 255, p[1] = in ? 80 : 0, p[2] = in ? 120 : 255;
      }
      if (in && run < 0) run = x;
      if (!in && run >= 0) rects.push_back(RECT{run, y, x, y + 1}), run = -1;
    }
  }
  zelvo_test::WriteFile(m.path, file.bytes());
  m.region_data.resize(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(m.region_data.data());
  data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(rects.size()), 0,
                            RECT{0, 0, size, size}};
  std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return made.emplace(key, std::move(m)).first->second;
}

void Ours(benchmark::State& state, const std::string& mask, int size) {
  const Mask& m = TheMask(mask, size);
  for (auto _ : state) {
    HRGN region = BitmapToRegion(m.path, 0x00FF00FF, 1);
    if (!region) state.SkipWithError("BitmapToRegion returned 0");
    DeleteObject(region);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * size * size);
}

void Floor(benchmark::State& state, const std::string& mask, int size) {
  const Mask& m = TheMask(mask, size);
  const auto* data = reinterpret_cast<const RGNDATA*>(m.region_data.data());
  for (auto _ : state) {
    HRGN region = ExtCreateRegion(nullptr, DWORD(m.region_data.size()), data);
    if (!region) state.SkipWithError("ExtCreateRegion returned 0");
    DeleteObject(region);
  }
  state.counters["rects"] = double(data->rdh.nCount);
  state.SetItemsProcessed(int64_t(state.iterations()) * size * size);
}

void Bound(benchmark::State& state, const std::string& mask, int size) {
  const Mask& m = TheMask(mask, size);
  const auto* data = reinterpret_cast<const RGNDATA*>(m.region_data.data());
  const size_t bytes = std::filesystem::file_size(m.path);
  for (auto _ : state) {
    uint8_t* buffer = zelvo_bench::ReadWholeFile(m.path, bytes);
    if (!buffer) {
      state.SkipWithError("short read");
      break;
    }
    benchmark::DoNotOptimize(zelvo_bench::TouchOnce(buffer, bytes));
    std::free(buffer);
    HRGN region = ExtCreateRegion(nullptr, DWORD(m.region_data.size()), data);
    if (!region) state.SkipWithError("ExtCreateRegion returned 0");
    DeleteObject(region);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * size * size);
}

}  // namespace

int main(int argc, char** argv) {
  for (const char* mask : {"solid", "ring", "random", "checker"})
    for (int size : {256, 512, 1024, 2048, 4096}) {
      const std::string row = std::string("region-") + mask + ":" + std::to_string(size);
      benchmark::RegisterBenchmark((row + ":ours").c_str(),
                                   [=](benchmark::State& s) { Ours(s, mask, size); })
          ->Unit(benchmark::kMillisecond)
          ->MinTime(0.2);
      benchmark::RegisterBenchmark((row + ":floor").c_str(),
                                   [=](benchmark::State& s) { Floor(s, mask, size); })
          ->Unit(benchmark::kMillisecond)
          ->MinTime(0.2);
      benchmark::RegisterBenchmark((row + ":bound").c_str(),
                                   [=](benchmark::State& s) { Bound(s, mask, size); })
          ->Unit(benchmark::kMillisecond)
          ->MinTime(0.2);
    }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
