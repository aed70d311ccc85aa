// The image loaders beside their floors, each pair in the same run, every size from 256^2 to
// 4096^2:
//   rle    LoadTGA on an RLE TGA file (page cache warm)  vs  stb_image decoding the same bytes from
//          memory; mixed content and worst-case runs (every packet a run of two pixels)
//   raw    LoadTGA on an uncompressed TGA, LoadImageA on a BMP  vs  read() of the whole file
//   touch  any loader at 4096^2  vs  read() of the whole file and one pass over its bytes
// Names are "row:size:ours" and "row:size:floor"; scripts/bench pairs them into ratios. Raw TGA
// rows also have a "row:size:bound": read() of the whole file and one in-place blue/red swap of its
// pixels with the library's own kernels, the least work any loader that reads the file does, since
// the file's order is not OpenGL's.
// Every floor takes its buffer the way the loaders take theirs (huge pages for a large block, see
// common/large_memory.h): with plain malloc a 48 MiB buffer costs 12288 faults of 4 KiB, which
// would be measured as the floor's work.
#include <benchmark/benchmark.h>

#include "file_floor.h"
#include "../zelvo/textures/pixel_swap.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#define STBI_MALLOC(bytes) common::allocate_large(bytes)
#define STBI_REALLOC(block, bytes) std::realloc(block, bytes)
#define STBI_FREE(block) std::free(block)
#include <stb/stb_image.h>

#include <Zelvo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "tga_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Mixed content: each row is a sequence of flat stretches (run packets) and noisy ones (literal
// packets) of random lengths, as in a picture with areas of plain colour and areas of detail.
// Worst case: every pair of pixels is one colour, so every packet is a run of two.
Bytes Pixels(int size, int bpp, bool worst, std::mt19937& rng) {
  Bytes pixels;
  pixels.reserve(size_t(size) * size * bpp);
  for (int y = 0; y < size; ++y) {
    int x = 0;
    while (x < size) {
      const int length = worst ? std::min(2, size - x) : std::min<int>(size - x, 1 + rng() % 300);
      const bool flat = worst || rng() % 2;
      uint8_t px[4] = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
      for (int i = 0; i < length; ++i) {
        if (!flat)
          for (auto& b : px) b = uint8_t(rng());
        pixels.insert(pixels.end(), px, px + bpp);
      }
      x += length;
    }
  }
  return pixels;
}

// The file of one kind ("rle32", "rle24w", "raw24", "bmp32", ...) and size, made on first use.
struct File {
  std::string path;
  Bytes bytes;
};

const File& TheFile(const std::string& kind, int size) {
  static std::map<std::string, File> made;
  const std::string key = kind + "-" + std::to_string(size);
  if (auto it = made.find(key); it != made.end()) return it->second;
  std::mt19937 rng(size);
  const int bpp = kind.find("32") != std::string::npos ? 4 : 3;
  const bool worst = kind.back() == 'w';
  const Bytes pixels = Pixels(size, bpp, worst, rng);
  Bytes bytes;
  if (kind.rfind("rle", 0) == 0) {
    bytes = zelvo_test::TgaHeader(10, uint16_t(size), uint16_t(size), uint8_t(bpp * 8),
                                  bpp == 4 ? 8 : 0);
    const Bytes encoded = zelvo_test::TgaEncodeRle(pixels, size, size, bpp);
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  } else if (kind.rfind("raw", 0) == 0) {
    bytes = zelvo_test::TgaHeader(2, uint16_t(size), uint16_t(size), uint8_t(bpp * 8),
                                  bpp == 4 ? 8 : 0);
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  } else {
    bytes = zelvo_test::bmp_from_rows(bpp * 8, size, size, pixels);
  }
  File file{(std::filesystem::temp_directory_path() /
             ("zelvo-bench-" + key + (kind[0] == 'b' ? ".bmp" : ".tga")))
                .string(),
            std::move(bytes)};
  FILE* f = std::fopen(file.path.c_str(), "wb");
  if (!f || std::fwrite(file.bytes.data(), 1, file.bytes.size(), f) != file.bytes.size() ||
      std::fclose(f) != 0) {
    std::fprintf(stderr, "cannot write %s\n", file.path.c_str());
    std::exit(1);
  }
  return made.emplace(key, std::move(file)).first->second;
}

void Loader(benchmark::State& state, const std::string& kind, int size) {
  const File& file = TheFile(kind, size);
  for (auto _ : state) {
    if (kind[0] == 'b') {
      HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), file.path.c_str(),
                                                       IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION));
      BITMAP info{};
      if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || !info.bmBits)
        state.SkipWithError("LoadImageA failed");
      benchmark::DoNotOptimize(info.bmBits);
      DeleteObject(bitmap);
    } else {
      TGATexture texture{};
      if (!LoadTGA(texture, file.path.c_str())) state.SkipWithError("LoadTGA failed");
      benchmark::DoNotOptimize(texture.ImageData);
      std::free(texture.ImageData);
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes.size()));
}

void StbFromMemory(benchmark::State& state, const std::string& kind, int size) {
  const File& file = TheFile(kind, size);
  for (auto _ : state) {
    int w, h, n;
    stbi_uc* pixels =
        stbi_load_from_memory(file.bytes.data(), int(file.bytes.size()), &w, &h, &n, 0);
    if (!pixels) state.SkipWithError(stbi_failure_reason());
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes.size()));
}

// What follows the read in a floor or a bound.
enum class After { kNothing, kTouch, kSwap };

// read() of the whole file into a fresh buffer; then, with kTouch, one more pass over its bytes, or
// with kSwap, the blue/red swap of a raw TGA file's pixels in place.
void ReadFile(benchmark::State& state, const std::string& kind, int size, After after) {
  const File& file = TheFile(kind, size);
  for (auto _ : state) {
    uint8_t* buffer = zelvo_bench::ReadWholeFile(file.path, file.bytes.size());
    if (!buffer) {
      state.SkipWithError("short read");
      break;
    }
    if (after == After::kTouch) {
      benchmark::DoNotOptimize(zelvo_bench::TouchOnce(buffer, file.bytes.size()));
    } else if (after == After::kSwap) {
      constexpr size_t kHeader = 18;  // no image ID, no colour map
      const size_t pixels = size_t(size) * size_t(size);
      if (kind == "raw32")
        zelvo::SwapRedBlue4(buffer + kHeader, pixels);
      else
        zelvo::SwapRedBlue3(buffer + kHeader, pixels);
    }
    benchmark::DoNotOptimize(buffer);
    std::free(buffer);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes.size()));
}

void Register(const std::string& name, std::function<void(benchmark::State&)> fn) {
  benchmark::RegisterBenchmark(name.c_str(), fn)->Unit(benchmark::kMillisecond)->MinTime(0.2);
}

}  // namespace

int main(int argc, char** argv) {
  for (const char* kind : {"rle24", "rle32", "rle24w", "rle32w"})
    for (int size : {256, 512, 1024, 2048, 4096}) {
      const std::string row = std::string(kind) + ":" + std::to_string(size);
      Register(row + ":ours", [=](benchmark::State& s) { Loader(s, kind, size); });
      Register(row + ":floor", [=](benchmark::State& s) { StbFromMemory(s, kind, size); });
    }
  for (const char* kind : {"raw24", "raw32", "bmp24", "bmp32"})
    for (int size : {256, 1024, 2048}) {
      const std::string row = std::string(kind) + ":" + std::to_string(size);
      Register(row + ":ours", [=](benchmark::State& s) { Loader(s, kind, size); });
      Register(row + ":floor",
               [=](benchmark::State& s) { ReadFile(s, kind, size, After::kNothing); });
      if (kind[0] == 'r')
        Register(row + ":bound",
                 [=](benchmark::State& s) { ReadFile(s, kind, size, After::kSwap); });
    }
  for (const char* kind : {"rle24", "rle32", "raw24", "raw32", "bmp24", "bmp32"}) {
    const std::string row = std::string("touch-") + kind + ":4096";
    Register(row + ":ours", [=](benchmark::State& s) { Loader(s, kind, 4096); });
    Register(row + ":floor", [=](benchmark::State& s) { ReadFile(s, kind, 4096, After::kTouch); });
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
