// LoadUncompressedTGA: type 2, the pixels stored one after another. Read in slices that fit in the
// cache, each swapped straight after its read, so the pixels cross memory once instead of twice.
#include <algorithm>
#include <cstdint>
#include <string>

#include "file_access.h"
#include "pixel_swap.h"
#include "tga_internal.h"

bool LoadUncompressedTGA(TGATexture& Texture, const char* FileName) {
  zelvo::TgaLoadScope scope("LoadUncompressedTGA", FileName);
  if (!zelvo::ReadImageHeader(Texture, INT32_MAX)) return false;
  const std::size_t bpp = TGA.BytesPerPixel;
  // Whole pixels, inside a second-level cache, and few reads: a system call is not cheap on every
  // machine.
  const std::size_t slice = bpp * 256 * 1024;
  const std::size_t size = TGA.ImageSize;
  for (std::size_t done = 0; done < size;) {
    const std::size_t want = std::min(slice, size - done);
    if (zelvo::ReadBytes(Texture.ImageData + done, want, fTGA) < want) {
      zelvo::TgaError("Could not read image data",
                      "the file ends before the " + std::to_string(size) + " bytes of pixels");
      zelvo::ReleaseImage(Texture);
      return false;
    }
    if (bpp == 4)
      zelvo::SwapRedBlue4(Texture.ImageData + done, want / 4);
    else
      zelvo::SwapRedBlue3(Texture.ImageData + done, want / 3);
    done += want;
  }
  zelvo::CloseFile(fTGA);
  fTGA = nullptr;
  return true;
}
