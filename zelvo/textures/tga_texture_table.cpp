// The TGA texture table: TGA files into numbered OpenGL textures.
#include <GL/glu.h>

#include <cstdlib>

#include "file_access.h"
#include "texture_filters.h"
#include "unpack_state.h"
#include "zelvo/textures.h"

zelvo::CheckedArray<TGATexture, 0, 200, "TextureTGA2"> TextureTGA2;

void TextureLoadTGAID(const char* TGAFile, int32_t Num) {
  // A missing file is not an error here, and the slot number is only looked at once it is used.
  if (!zelvo::FileExists(TGAFile)) return;
  TGATexture& slot = TextureTGA2[Num];
  if (!LoadTGA(slot, TGAFile)) return;

  glEnable(GL_TEXTURE_2D);
  glGenTextures(1, &slot.TexID);
  glBindTexture(GL_TEXTURE_2D, slot.TexID);
  {
    // The decoded rows are tightly packed; a 24-bit row of any width is therefore read with byte
    // alignment, and the caller's unpack settings come back afterwards.
    zelvo::PackedRowsUnpack packed;
    const GLint components = static_cast<GLint>(slot.Bpp / 8);
    glTexImage2D(GL_TEXTURE_2D, 0, components, static_cast<GLsizei>(slot.Width),
                 static_cast<GLsizei>(slot.Height), 0, slot.Typ, GL_UNSIGNED_BYTE, slot.ImageData);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_Min_Filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_Mag_Filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (zelvo::IsMipmapFilter(GL_Min_Filter))
      gluBuild2DMipmaps(GL_TEXTURE_2D, components, static_cast<GLint>(slot.Width),
                        static_cast<GLint>(slot.Height), slot.Typ, GL_UNSIGNED_BYTE,
                        slot.ImageData);
  }
  std::free(slot.ImageData);
  slot.ImageData = nullptr;
}

void TextureTGASelectID(int32_t Num) { glBindTexture(GL_TEXTURE_2D, TextureTGA2[Num].TexID); }
