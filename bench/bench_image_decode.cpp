// Decoding 2048 x 2048 images from files in the page cache: the library's TGA reader and the
// platform's BMP loader (what TextureLoadID does before its upload), stb_image's file loader on the
// same files, and the floor under both: reading the file into memory with fread.
#include <benchmark/benchmark.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

#include <Zelvo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 2048;
using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

Bytes TgaHeader(uint8_t type, uint8_t bits) {
  Bytes h(18, 0);
  h[2] = type;
  h[12] = kSize & 0xFF;
  h[13] = kSize >> 8;
  h[14] = kSize & 0xFF;
  h[15] = kSize >> 8;
  h[16] = bits;
  h[17] = bits == 32 ? 8 : 0;
  return h;
}

// Mixed content: each row is a sequence of flat stretches (run packets) and noisy ones (literal
// packets) of random lengths, as in a picture with areas of plain colour and areas of detail.
Bytes MixedPixels(int bpp, std::mt19937& rng) {
  Bytes pixels;
  pixels.reserve(size_t{kSize} * kSize * bpp);
  for (int y = 0; y < kSize; ++y) {
    int x = 0;
    while (x < kSize) {
      const int length = std::min<int>(kSize - x, 1 + rng() % 300);
      const bool flat = rng() % 2;
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

Bytes EncodeRle(const Bytes& pixels, int bpp) {
  Bytes out;
  const size_t row_pixels = kSize;
  for (size_t row = 0; row < kSize; ++row) {
    const uint8_t* p = &pixels[row * row_pixels * bpp];
    auto same = [&](size_t a, size_t b) { return std::memcmp(p + a * bpp, p + b * bpp, bpp) == 0; };
    size_t i = 0;
    while (i < row_pixels) {
      size_t run = 1;
      while (i + run < row_pixels && run < 128 && same(i, i + run)) ++run;
      if (run >= 2) {
        out.push_back(uint8_t(127 + run));
        out.insert(out.end(), p + i * bpp, p + (i + 1) * bpp);
        i += run;
        continue;
      }
      size_t literal = 1;
      while (i + literal < row_pixels && literal < 128 &&
             !(i + literal + 1 < row_pixels && same(i + literal, i + literal + 1)))
        ++literal;
      out.push_back(uint8_t(literal - 1));
      out.insert(out.end(), p + i * bpp, p + (i + literal) * bpp);
      i += literal;
    }
  }
  return out;
}

struct Files {
  std::string rle32 = "/tmp/zelvo-bench-rle32.tga";
  std::string raw24 = "/tmp/zelvo-bench-raw24.tga";
  std::string bmp24 = "/tmp/zelvo-bench-24.bmp";

  Files() {
    std::mt19937 rng(2048);
    Bytes rle = TgaHeader(10, 32);
    Bytes encoded = EncodeRle(MixedPixels(4, rng), 4);
    rle.insert(rle.end(), encoded.begin(), encoded.end());
    WriteFile(rle32, rle);

    Bytes pixels24 = MixedPixels(3, rng);
    Bytes raw = TgaHeader(2, 24);
    raw.insert(raw.end(), pixels24.begin(), pixels24.end());
    WriteFile(raw24, raw);

    Bytes bmp = {'B', 'M'};
    const uint32_t data_size = uint32_t{kSize} * kSize * 3;  // 2048 x 3 is already a multiple of 4
    Put32(bmp, 54 + data_size);
    Put32(bmp, 0);
    Put32(bmp, 54);
    Put32(bmp, 40);
    Put32(bmp, kSize);
    Put32(bmp, kSize);
    Put16(bmp, 1);
    Put16(bmp, 24);
    for (uint32_t v : {0u, data_size, 2835u, 2835u, 0u, 0u}) Put32(bmp, v);
    bmp.insert(bmp.end(), pixels24.begin(), pixels24.end());
    WriteFile(bmp24, bmp);
  }
};

const Files& TheFiles() {
  static Files files;
  return files;
}

void SetBytes(benchmark::State& state, const std::string& file) {
  FILE* f = std::fopen(file.c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

void OursTga(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    TGATexture texture{};
    if (!LoadTGA(texture, file.c_str())) state.SkipWithError("LoadTGA failed");
    benchmark::DoNotOptimize(texture.ImageData);
    std::free(texture.ImageData);
  }
  SetBytes(state, file);
}

void OursBmp(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), file.c_str(), IMAGE_BITMAP, 0, 0,
                   LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || !info.bmBits)
      state.SkipWithError("LoadImageA failed");
    benchmark::DoNotOptimize(info.bmBits);
    DeleteObject(bitmap);
  }
  SetBytes(state, file);
}

void Stb(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    int w, h, n;
    stbi_uc* pixels = stbi_load(file.c_str(), &w, &h, &n, 0);
    if (!pixels) state.SkipWithError(stbi_failure_reason());
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
  SetBytes(state, file);
}

void PlainRead(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    FILE* f = std::fopen(file.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    auto* buffer = static_cast<uint8_t*>(std::malloc(size));
    if (std::fread(buffer, 1, size, f) != size_t(size)) state.SkipWithError("short read");
    std::fclose(f);
    benchmark::DoNotOptimize(buffer);
    std::free(buffer);
  }
  SetBytes(state, file);
}

void BM_Rle32Tga_LoadTGA(benchmark::State& s) { OursTga(s, TheFiles().rle32); }
void BM_Rle32Tga_stbi_load(benchmark::State& s) { Stb(s, TheFiles().rle32); }
void BM_Rle32Tga_fread(benchmark::State& s) { PlainRead(s, TheFiles().rle32); }
void BM_Raw24Tga_LoadTGA(benchmark::State& s) { OursTga(s, TheFiles().raw24); }
void BM_Raw24Tga_stbi_load(benchmark::State& s) { Stb(s, TheFiles().raw24); }
void BM_Raw24Tga_fread(benchmark::State& s) { PlainRead(s, TheFiles().raw24); }
void BM_Bmp24_LoadImageA(benchmark::State& s) { OursBmp(s, TheFiles().bmp24); }
void BM_Bmp24_stbi_load(benchmark::State& s) { Stb(s, TheFiles().bmp24); }
void BM_Bmp24_fread(benchmark::State& s) { PlainRead(s, TheFiles().bmp24); }

}  // namespace

BENCHMARK(BM_Rle32Tga_LoadTGA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rle32Tga_stbi_load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rle32Tga_fread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw24Tga_LoadTGA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw24Tga_stbi_load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw24Tga_fread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24_LoadImageA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24_stbi_load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24_fread)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
