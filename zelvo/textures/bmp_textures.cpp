// The BMP texture table: BMP files, decoded by the platform into DIB sections, into numbered
// textures.
#include <windows.h>

#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/failure_report.h"
#include "pixel_swap.h"
#include "texture_filters.h"
#include "unpack_state.h"
#include "zelvo/textures.h"

zelvo::CheckedArray<GLuint, 0, 500, zelvo::names::TextureID2> TextureID2;

void SwapRGB(void* Data, int32_t Size) {
  if (Size < 1) return;
  zelvo::SwapRedBlue3(static_cast<uint8_t*>(Data), static_cast<std::size_t>(Size));
}

void AddMipmapsTexture(int32_t Format, int32_t Width, int32_t Height, const void* Bits) {
  if (Format == 24) {
    if (Width < 1 || Height < 1) return;
    // GLU halves 3-byte rows wrongly when the unpack alignment is 4 and a level's row is not a
    // multiple of 4 bytes, so the chain is built from tightly packed rows with byte alignment. The
    // rows are taken from Bits the way OpenGL would read them under the caller's unpack settings.
    GLint alignment = 4, row_length = 0, skip_rows = 0, skip_pixels = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length);
    glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skip_rows);
    glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skip_pixels);
    const std::size_t row = std::size_t(Width) * 3;
    const std::size_t step = std::max<GLint>(alignment, 1);
    const std::size_t stride =
        (std::size_t(row_length > 0 ? row_length : Width) * 3 + step - 1) / step * step;
    const uint8_t* first = static_cast<const uint8_t*>(Bits) +
                           std::size_t(std::max<GLint>(skip_rows, 0)) * stride +
                           std::size_t(std::max<GLint>(skip_pixels, 0)) * 3;
    std::vector<uint8_t> packed(row * Height);
    for (int32_t y = 0; y < Height; ++y) std::memcpy(&packed[y * row], first + y * stride, row);
    zelvo::PackedRowsUnpack unpack;
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, Width, Height, GL_RGB, GL_UNSIGNED_BYTE, packed.data());
  } else if (Format == 32) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, Width, Height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, Bits);
  }
}

namespace {

// The bitmap's pixels when they are what the header depth promises; otherwise nothing is touched.
bool UsablePixels(HBITMAP bitmap, int32_t format, BITMAP& info) {
  if (format != 24 && format != 32) return false;
  if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return false;
  return info.bmBits && info.bmBitsPixel == format && info.bmWidth > 0 && info.bmHeight > 0 &&
         info.bmWidthBytes >= static_cast<LONG>(info.bmWidth * (format / 8)) &&
         info.bmWidthBytes % 4 == 0;
}

}  // namespace

void TextureLoadID(const char* BmpFile, int32_t Num) {
  const int32_t format = GetBmpDepth(BmpFile);
  SetLastError(0);
  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), BmpFile, IMAGE_BITMAP, 0, 0,
                                      LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_CREATEDIBSECTION));
  BITMAP info{};
  const bool usable = UsablePixels(bitmap, format, info);
  if (!usable) {
    // The slot still gets its texture name below, drawn untextured; only standard error says why.
    const std::string slot = "; slot " + std::to_string(Num) + " gets no image";
    if (!bitmap)
      zelvo::ReportFileFailure(
          "TextureLoadID", BmpFile,
          "LoadImageA failed: " + zelvo::WindowsErrorText(GetLastError()) + slot);
    else if (format == 0)
      zelvo::ReportFileFailure("TextureLoadID", BmpFile,
                               "its header gives no bit depth (an OS/2 core header)" + slot);
    else if (format != 24 && format != 32)
      zelvo::ReportFileFailure("TextureLoadID", BmpFile,
                               std::to_string(format) +
                                   " bits per pixel (textures are made from 24- and 32-bit files)" +
                                   slot);
    else
      zelvo::ReportFileFailure("TextureLoadID", BmpFile,
                               "its pixels do not have the " + std::to_string(format) +
                                   " bits per pixel its header gives" + slot);
  }
  if (usable && format == 24) {
    // Row by row: each row is padded to 4 bytes, and the padding is not a pixel. (No pixel count of
    // the whole bitmap is formed, so there is no product that could overflow.)
    auto* row = static_cast<uint8_t*>(info.bmBits);
    for (LONG y = 0; y < info.bmHeight; ++y, row += info.bmWidthBytes) SwapRGB(row, info.bmWidth);
  }

  glEnable(GL_TEXTURE_2D);
  glGenTextures(1, &TextureID2[Num]);
  glBindTexture(GL_TEXTURE_2D, TextureID2[Num]);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_Min_Filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_Mag_Filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  if (usable) {
    if (format == 24)
      glTexImage2D(GL_TEXTURE_2D, 0, 3, info.bmWidth, info.bmHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                   info.bmBits);
    else
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, info.bmWidth, info.bmHeight, 0, GL_BGRA_EXT,
                   GL_UNSIGNED_BYTE, info.bmBits);
    if (zelvo::IsMipmapFilter(GL_Min_Filter))
      AddMipmapsTexture(format, info.bmWidth, info.bmHeight, info.bmBits);
  }
  // OpenGL keeps its own copy of the pixels; the bitmap is not needed any more.
  if (bitmap) DeleteObject(bitmap);
}

void TextureSelectID(int32_t Num) { glBindTexture(GL_TEXTURE_2D, TextureID2[Num]); }
