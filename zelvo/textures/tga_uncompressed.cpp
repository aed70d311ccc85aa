// LoadUncompressedTGA: type 2, the pixels stored one after another. The pixels already read ahead
// with the header are swapped on their way out of the buffer; the rest are read straight into the
// image in slices that fit in the cache, each swapped straight after its read, so the pixels cross
// memory once instead of twice.
#include <algorithm>
#include <cstdint>
#include <string>

#include "pixel_swap.h"
#include "tga_internal.h"

namespace zelvo {

bool ReadUncompressedTga(TGATexture& Texture, TgaInput& in) {
  if (!ReadImageHeader(Texture, INT32_MAX, in)) return false;
  const std::size_t bpp = TGA.BytesPerPixel;
  const std::size_t size = TGA.ImageSize;
  uint8_t* const image = Texture.ImageData;
  std::size_t done = std::min(in.Buffered(), size) / bpp * bpp;
  if (bpp == 4)
    CopySwapRedBlue4(image, in.data(), done / 4);
  else
    CopySwapRedBlue3(image, in.data(), done / 3);
  in.Skip(done);
  // Whole pixels, inside a second-level cache, and few reads: a system call is not cheap on every
  // machine.
  const std::size_t slice = bpp * 256 * 1024;
  while (done < size) {
    const std::size_t want = std::min(slice, size - done);
    if (in.Read(image + done, want) < want) {
      TgaError("Could not read image data",
               "the file ends before the " + std::to_string(size) + " bytes of pixels");
      ReleaseImage(Texture);
      return false;
    }
    if (bpp == 4)
      SwapRedBlue4(image + done, want / 4);
    else
      SwapRedBlue3(image + done, want / 3);
    done += want;
  }
  in.Close();
  return true;
}

}  // namespace zelvo

bool LoadUncompressedTGA(TGATexture& Texture, const char* FileName) {
  zelvo::TgaLoadScope scope("LoadUncompressedTGA", FileName);
  uint8_t buffer[zelvo::kStreamReadAhead];
  zelvo::TgaInput in(fTGA, buffer, sizeof buffer);
  return zelvo::ReadUncompressedTga(Texture, in);
}
