// BitmapToRegion on large irregular shapes, beside the limit (reading the same file and counting
// its opaque runs in a plain loop) and a naive builder that unions one rectangle at a time.
#include <benchmark/benchmark.h>

#include <zelvo/controls.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

// A wobbly disc with holes and a few slits on a magenta key, as a 24-bit bottom-up BMP.
std::string ShapeFile(int size) {
  static std::map<int, std::string> made;
  if (auto it = made.find(size); it != made.end()) return it->second;
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("zelvo-bench-shape-" + std::to_string(size) + ".bmp"))
                               .string();
  const uint32_t stride = (uint32_t(size) * 3 + 3) & ~3u;
  std::vector<uint8_t> file(54 + size_t(stride) * size, 0);
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = uint8_t(v >> (8 * i));
  };
  file[0] = 'B', file[1] = 'M';
  put(2, uint32_t(file.size()), 4), put(10, 54, 4), put(14, 40, 4), put(18, size, 4);
  put(22, size, 4), put(26, 1, 2), put(28, 24, 2), put(34, uint32_t(file.size() - 54), 4);
  const double c = size / 2.0;
  for (int y = 0; y < size; ++y) {
    uint8_t* row = &file[54 + size_t(size - 1 - y) * stride];
    for (int x = 0; x < size; ++x) {
      const double dx = (x - c) / c, dy = (y - c) / c;
      const double angle = std::atan2(dy, dx);
      const double reach = 0.8 + 0.1 * std::sin(7 * angle) + 0.05 * std::cos(13 * angle);
      bool in = dx * dx + dy * dy < reach * reach;
      const double hx = std::fmod(std::fabs(dx) * 6, 1.0) - 0.5,
                   hy = std::fmod(std::fabs(dy) * 6, 1.0) - 0.5;
      if (hx * hx + hy * hy < 0.04) in = false;          // a grid of holes
      if (std::fabs(dy - 0.3 * dx) < 0.004) in = false;  // a thin slit
      uint8_t* p = row + x * 3;
      if (in) {
        p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 120;
      } else {
        p[0] = 255, p[1] = 0, p[2] = 255;
      }
    }
  }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  made[size] = path;
  return path;
}

struct Run {
  int left, right, y;
};

// The limit: read the file, walk its rows top row first and find the opaque runs.
template <class OnRun>
bool ScanFile(const std::string& path, OnRun on_run) {
  std::vector<uint8_t> file(std::filesystem::file_size(path));
  std::ifstream(path, std::ios::binary)
      .read(reinterpret_cast<char*>(file.data()), std::streamsize(file.size()));
  if (file.size() < 54) return false;
  auto get = [&](size_t at) {
    return uint32_t(file[at]) | uint32_t(file[at + 1]) << 8 | uint32_t(file[at + 2]) << 16 |
           uint32_t(file[at + 3]) << 24;
  };
  const uint32_t offset = get(10), width = get(18), height = get(22);
  const uint32_t stride = (width * 3 + 3) & ~3u;
  if (file.size() < offset + size_t(stride) * height) return false;
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = &file[offset + size_t(height - 1 - y) * stride];
    uint32_t x = 0;
    while (x < width) {
      const uint32_t x0 = x;
      while (x < width && !(row[x * 3] >= 255 && row[x * 3 + 1] <= 1 && row[x * 3 + 2] >= 255)) ++x;
      if (x > x0) on_run(Run{int(x0), int(x), int(y)});
      ++x;
    }
  }
  return true;
}

void BM_BitmapToRegion(benchmark::State& state) {
  const std::string path = ShapeFile(int(state.range(0)));
  for (auto _ : state) {
    HRGN region = BitmapToRegion(path, 0x00FF00FF, 1);
    if (!region) state.SkipWithError("BitmapToRegion returned 0");
    DeleteObject(region);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}

void BM_BareScan(benchmark::State& state) {
  const std::string path = ShapeFile(int(state.range(0)));
  size_t runs = 0;
  for (auto _ : state) {
    runs = 0;
    if (!ScanFile(path, [&](const Run&) { ++runs; })) state.SkipWithError("unreadable file");
    benchmark::DoNotOptimize(runs);
  }
  state.counters["runs"] = double(runs);
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}

// A region grown by one CombineRgn per run.
void BM_UnionPerRun(benchmark::State& state) {
  const std::string path = ShapeFile(int(state.range(0)));
  for (auto _ : state) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    HRGN piece = CreateRectRgn(0, 0, 0, 0);
    ScanFile(path, [&](const Run& r) {
      SetRectRgn(piece, r.left, r.y, r.right, r.y + 1);
      CombineRgn(region, region, piece, RGN_OR);
    });
    DeleteObject(piece);
    DeleteObject(region);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}

BENCHMARK(BM_BitmapToRegion)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareScan)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnionPerRun)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
