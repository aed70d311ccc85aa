// LoadTGA: opens a TGA file, classifies its 12-byte header and hands over to the reader of its
// type.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "file_access.h"
#include "tga_internal.h"

TTGAHeader TGAHeader;
TTGA TGA;
const uint8_t uTGAcompare[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const uint8_t cTGAcompare[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
FILE* fTGA = nullptr;

namespace zelvo {

void TgaMessage(const char* text, const char* caption) { MessageBoxA(0, text, caption, MB_OK); }

void ReleaseImage(TGATexture& Texture) {
  std::free(Texture.ImageData);
  Texture.ImageData = nullptr;
}

static bool FailAndClose() {
  CloseFile(fTGA);
  fTGA = nullptr;
  return false;
}

bool LoadTGAStream(TGATexture& Texture, FILE* stream) {
  fTGA = stream;
  if (ReadBytes(TGAHeader.Header, sizeof TGAHeader.Header, fTGA) < sizeof TGAHeader.Header) {
    TgaMessage("Could not read file header");
    return FailAndClose();
  }
  if (std::memcmp(TGAHeader.Header, uTGAcompare, sizeof uTGAcompare) == 0)
    return LoadUncompressedTGA(Texture, nullptr) || FailAndClose();
  if (std::memcmp(TGAHeader.Header, cTGAcompare, sizeof cTGAcompare) == 0)
    return LoadCompressedTGA(Texture, nullptr) || FailAndClose();
  TgaMessage("TGA file be type 2 or type 10", "Invalid Image");
  return FailAndClose();
}

}  // namespace zelvo

bool LoadTGA(TGATexture& Texture, const char* FileName) {
  // Read-only whatever FileMode says: a texture file need not be writable.
  FILE* file = zelvo::OpenForReading(FileName);
  if (!file) {
    zelvo::TgaMessage("Could not open texture file");
    return false;
  }
  return zelvo::LoadTGAStream(Texture, file);
}
