// Fuzzes the TGA reader from a memory stream and through LoadTGA on a real file name: no crash, no
// read or write outside a buffer, no leak, on success a complete image, and both paths agree.
#include <windows.h>

#include <Zelvo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "memory_file.h"

static int AnswerOk(HWND, LPCSTR, LPCSTR, UINT, void* boxes) {
  ++*static_cast<int*>(boxes);
  return IDOK;
}

// Images that would allocate more than this are skipped: under AddressSanitizer a gigabyte buffer
// costs a second per run, and the decoding is the same for small images. Sizes beyond 32 bits are
// kept, since the reader refuses them before allocating.
static bool AllocatesTooMuch(const uint8_t* data, size_t size) {
  if (size < 17) return false;
  const uint64_t bytes =
      uint64_t(data[12] | data[13] << 8) * (data[14] | data[15] << 8) * (data[16] / 8);
  return bytes > (16u << 20) && bytes <= UINT32_MAX;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (AllocatesTooMuch(data, size)) return 0;
  int boxes = 0;
  SetMessageBoxHook(&AnswerOk, &boxes);
  // fmemopen refuses an empty buffer; an empty file reads the same.
  FILE* stream =
      size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::fopen("/dev/null", "rb");
  if (!stream) __builtin_trap();
  TGATexture texture{};
  const bool ok = zelvo::LoadTGAStream(texture, stream);
  if (fTGA != nullptr) __builtin_trap();
  if (ok != (boxes == 0) || boxes > 1) __builtin_trap();
  static fuzz::MemoryFile file;
  TGATexture from_file{};
  boxes = 0;
  const bool file_ok = LoadTGA(from_file, file.Hold(data, size));
  if (file_ok != ok || fTGA != nullptr || boxes != (ok ? 0 : 1)) __builtin_trap();
  if (ok) {
    if (!texture.ImageData || (texture.Bpp != 24 && texture.Bpp != 32)) __builtin_trap();
    const size_t bytes = size_t{texture.Width} * texture.Height * (texture.Bpp / 8);
    volatile uint8_t sink = texture.ImageData[0] ^ texture.ImageData[bytes - 1];
    (void)sink;
    if (from_file.Width != texture.Width || from_file.Height != texture.Height ||
        std::memcmp(from_file.ImageData, texture.ImageData, bytes) != 0)
      __builtin_trap();
    std::free(texture.ImageData);
    std::free(from_file.ImageData);
  } else if (texture.ImageData || from_file.ImageData) {
    __builtin_trap();
  }
  SetMessageBoxHook(nullptr, nullptr);
  return 0;
}
