// LoadUncompressedTGA: type 2, the pixels stored one after another; one read, then one swap pass.
#include <cstdint>

#include "file_access.h"
#include "pixel_swap.h"
#include "tga_internal.h"

bool LoadUncompressedTGA(TGATexture& Texture, const char* /*FileName*/) {
  if (!zelvo::ReadImageHeader(Texture, INT32_MAX)) return false;
  if (zelvo::ReadBytes(Texture.ImageData, TGA.ImageSize, fTGA) < TGA.ImageSize) {
    zelvo::TgaMessage("Could not read image data");
    zelvo::ReleaseImage(Texture);
    return false;
  }
  std::size_t pixels = std::size_t{Texture.Width} * Texture.Height;
  if (TGA.BytesPerPixel == 4)
    zelvo::SwapRedBlue4(Texture.ImageData, pixels);
  else
    zelvo::SwapRedBlue3(Texture.ImageData, pixels);
  zelvo::CloseFile(fTGA);
  fTGA = nullptr;
  return true;
}
