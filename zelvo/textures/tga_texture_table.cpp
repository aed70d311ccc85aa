// The TGA texture table: TGA files into numbered OpenGL textures.
#include <windows.h>

#include <GL/glu.h>

#include <cstdlib>

#include "core/failure_report.h"
#include "file_access.h"
#include "texture_filters.h"
#include "tga_internal.h"
#include "unpack_state.h"
#include "zelvo/textures.h"

zelvo::CheckedArray<TGATexture, 0, 200, zelvo::names::TextureTGA2> TextureTGA2;

void TextureLoadTGAID(const char* TGAFile, int32_t Num) {
  // A missing file is not an error here (no message box, the slot stays as it was), and the slot
  // number is only looked at once the file is known to be there. It is still said on standard
  // error: a program started from the wrong folder would otherwise draw untextured without a word.
  // A name that is there but cannot be read (a folder, a folder the user may not search) goes on to
  // LoadTGA, whose box says so.
  if (GetFileAttributesA(TGAFile) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      zelvo::ReportFileFailure("TextureLoadTGAID", TGAFile,
                               "no such file (" + zelvo::WindowsErrorText(error) + "); slot " +
                                   std::to_string(Num) + " is not loaded");
      return;
    }
  }
  // The messages of the load name this entry point rather than LoadTGA.
  zelvo::TgaLoadScope scope("TextureLoadTGAID", TGAFile);
  TGATexture& slot = TextureTGA2[Num];
  // The reader fills its record as it goes, so it reads into a copy: a refused file leaves the
  // slot exactly as it was.
  TGATexture loaded = slot;
  if (!LoadTGA(loaded, TGAFile)) return;
  slot = loaded;

  glEnable(GL_TEXTURE_2D);
  glGenTextures(1, &slot.TexID);
  glBindTexture(GL_TEXTURE_2D, slot.TexID);
  // The decoded rows are tightly packed. Only the unpack settings that would misread them are
  // changed, and restored at once: under OpenGL's defaults that is the alignment of 24-bit rows
  // whose width is not a multiple of 4.
  const GLint components = static_cast<GLint>(slot.Bpp / 8);
  {
    zelvo::PackedRowsUnpack packed(std::size_t{slot.Width} * static_cast<std::size_t>(components));
    glTexImage2D(GL_TEXTURE_2D, 0, components, static_cast<GLsizei>(slot.Width),
                 static_cast<GLsizei>(slot.Height), 0, slot.Typ, GL_UNSIGNED_BYTE, slot.ImageData);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_Min_Filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_Mag_Filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  if (zelvo::IsMipmapFilter(GL_Min_Filter)) {
    // GLU uploads the smaller levels under the same settings; their rows shrink to one pixel.
    zelvo::PackedRowsUnpack packed(static_cast<std::size_t>(components));
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, static_cast<GLint>(slot.Width),
                      static_cast<GLint>(slot.Height), slot.Typ, GL_UNSIGNED_BYTE, slot.ImageData);
  }
  std::free(slot.ImageData);
  slot.ImageData = nullptr;
}

void TextureTGASelectID(int32_t Num) { glBindTexture(GL_TEXTURE_2D, TextureTGA2[Num].TexID); }
