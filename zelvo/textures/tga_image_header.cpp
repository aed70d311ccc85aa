// The image header (bytes 12 to 17) that both TGA readers start with.
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/large_memory.h"
#include "tga_internal.h"

namespace zelvo {

bool ReadImageHeader(TGATexture& Texture, uint64_t max_image_size, TgaInput& in) {
  if (in.Fill(sizeof TGA.Header) < sizeof TGA.Header) {
    TgaError("Could not read info header",
             in.HasFile() ? "the file ends inside the 6-byte image header" : "no file");
    return false;
  }
  std::memcpy(TGA.Header, in.data(), sizeof TGA.Header);
  in.Skip(sizeof TGA.Header);
  Texture.Width = TGA.Header[1] * 256u + TGA.Header[0];
  Texture.Height = TGA.Header[3] * 256u + TGA.Header[2];
  Texture.Bpp = TGA.Header[4];
  TGA.Width = Texture.Width;
  TGA.Heigh = Texture.Height;
  TGA.Bpp = Texture.Bpp;
  if (Texture.Width == 0 || Texture.Height == 0 || (Texture.Bpp != 24 && Texture.Bpp != 32)) {
    TgaError("Invalid texture information",
             std::to_string(Texture.Width) + " x " + std::to_string(Texture.Height) +
                 " pixels of " + std::to_string(Texture.Bpp) +
                 " bits (the reader takes a non-zero size and 24 or 32 bits)");
    return false;
  }
  Texture.Typ = Texture.Bpp == 24 ? GL_RGB : GL_RGBA;
  TGA.BytesPerPixel = Texture.Bpp / 8;
  // Up to 65535 x 65535 x 4 bytes: an image too large to address is refused like one too large to
  // allocate, never wrapped around.
  uint64_t size = uint64_t{Texture.Width} * TGA.BytesPerPixel * Texture.Height;
  TGA.ImageSize = size <= max_image_size ? static_cast<uint32_t>(size) : 0;
  // Not zero-filled: a successful load overwrites every byte, a failed one releases the buffer.
  Texture.ImageData =
      size <= max_image_size
          ? static_cast<uint8_t*>(common::allocate_large(static_cast<std::size_t>(size)))
          : nullptr;
  if (!Texture.ImageData) {
    TgaError("Could not allocate memory for image", std::to_string(size) + " bytes for " +
                                                        std::to_string(Texture.Width) + " x " +
                                                        std::to_string(Texture.Height) + " pixels");
    return false;
  }
  return true;
}

}  // namespace zelvo
