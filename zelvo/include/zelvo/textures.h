/// @file
/// Images and textures: BMP and TGA files into OpenGL textures held in two fixed, numbered slot
/// tables.
///
/// BMP files are decoded by the platform (LoadImageA) into a DIB section and uploaded from it; TGA
/// files (uncompressed or run-length-encoded true colour, 24 or 32 bits) are decoded by the
/// library's own reader. Both tables share the filter settings GL_Min_Filter / GL_Mag_Filter. Every
/// operation that makes OpenGL calls runs on the thread whose rendering context is current.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>

#include "checked.h"

// ---- TGA file reader ---------------------------------------------------------------------------

/// A decoded TGA image and the texture name of its slot.
struct TGATexture {
  /// Width x Height pixels, RGB or RGBA, rows in file order whatever the origin bit says (a
  /// top-left file shows upside down); released with std::free.
  uint8_t* ImageData;
  uint32_t Bpp;     ///< 24 or 32
  uint32_t Width;   ///< in pixels, 1..65535
  uint32_t Height;  ///< in pixels, 1..65535
  uint32_t TexID;   ///< the OpenGL texture name; the reader never touches it
  uint32_t Typ;     ///< GL_RGB or GL_RGBA
};
/// Pointer to a TGATexture.
typedef TGATexture* PTexture;

/// Bytes 0 to 11 of a TGA file.
struct TTGAHeader {
  uint8_t Header[12];  ///< compared with uTGAcompare and cTGAcompare
};

/// The image header (bytes 12 to 17) and the sizes derived from it.
struct TTGA {
  uint8_t Header[6];       ///< width and height (16-bit little-endian), bits per pixel, descriptor
  uint32_t BytesPerPixel;  ///< 3 or 4
  uint32_t ImageSize;      ///< Width x Heigh x BytesPerPixel
  uint32_t Typ;            ///< not set by the reader
  uint32_t Heigh;          ///< height in pixels
  uint32_t Width;          ///< width in pixels
  uint32_t Bpp;            ///< 24 or 32
};

/// The reader's scratch state: the first 12 bytes of the last file read. One TGA load at a time.
extern ZELVO_API TTGAHeader TGAHeader;
/// The reader's scratch state: the image header of the last file read.
extern ZELVO_API TTGA TGA;
extern ZELVO_API const uint8_t uTGAcompare[12];  ///< uncompressed true colour (type 2)
extern ZELVO_API const uint8_t cTGAcompare[12];  ///< run-length-encoded true colour (type 10)
/// The stream being loaded by LoadTGAStream or the two halves, null when none is open. LoadTGA
/// reads its file without a stream on Linux (fewer system calls), so it stays null there.
extern ZELVO_API FILE* fTGA;

/// Loads a type 2 or type 10 TGA file. True: ImageData, Bpp, Width, Height and Typ describe the
/// image and the caller owns ImageData. False: one message box has been shown, the file is closed
/// and nothing is left allocated (a buffer this load allocated has been released and ImageData set
/// to null).
ZELVO_API bool LoadTGA(TGATexture& Texture, const char* FileName);

/// @name The two halves of LoadTGA
/// Each runs with fTGA open just after byte 11. On success they close fTGA; on failure they leave
/// it open for LoadTGA to close. FileName is used in messages only.
///@{

/// Reads the image header and the pixels of a type 2 (uncompressed) or type 10 (run-length
/// encoded) file, swapping BGR to RGB.
ZELVO_API bool LoadUncompressedTGA(TGATexture& Texture, const char* FileName);
ZELVO_API bool LoadCompressedTGA(TGATexture& Texture, const char* FileName);
///@}

namespace zelvo {
/// LoadTGA on a stream the caller has opened (a file, or memory through fmemopen). The stream is
/// closed on every path, as LoadTGA closes its file.
ZELVO_API bool LoadTGAStream(TGATexture& Texture, FILE* stream);
}  // namespace zelvo

// ---- Texture filters and the process-wide file-open mode ---------------------------------------

/// The minification filter given to every texture created afterwards, by both tables. Default
/// GL_LINEAR.
extern ZELVO_API int32_t GL_Min_Filter;
/// The magnification filter, like GL_Min_Filter. Default GL_LINEAR.
extern ZELVO_API int32_t GL_Mag_Filter;

/// The file-open mode: 2 (read and write) at start, 0 (read only) once GetBmpDepth has run. Kept
/// for programs that read it; the library opens its texture files for reading whatever its value.
extern ZELVO_API int32_t FileMode;

// ---- TGA texture table -------------------------------------------------------------------------

/// The names the tables of this header give in a run-time error (see CheckedArray).
namespace zelvo::names {
inline constexpr char TextureTGA2[] = "TextureTGA2";  ///< ::TextureTGA2
inline constexpr char TextureID2[] = "TextureID2";    ///< ::TextureID2
}  // namespace zelvo::names

/// The TGA slots 0..200: each keeps its image's size, format and texture name; the pixels are
/// released once uploaded (ImageData null).
extern ZELVO_API zelvo::CheckedArray<TGATexture, 0, 200, zelvo::names::TextureTGA2> TextureTGA2;

/// Loads a TGA file into slot Num (0..200) and makes its texture. A missing file prints one line on
/// standard error and shows no box, leaving the slot unloaded; a path that exists but cannot be
/// opened as a file, such as a folder, shows the "Could not open texture file" box. A file the
/// reader refuses shows its message and leaves the slot and OpenGL untouched.
ZELVO_API void TextureLoadTGAID(const char* TGAFile, int32_t Num);
/// Binds the slot's texture (name 0 for a slot never loaded).
ZELVO_API void TextureTGASelectID(int32_t Num);

// ---- BMP textures ------------------------------------------------------------------------------

/// The BMP slots 0..500: the OpenGL texture name of each (0 for a slot never loaded).
extern ZELVO_API zelvo::CheckedArray<GLuint, 0, 500, zelvo::names::TextureID2> TextureID2;

/// Bits per pixel of a BMP file; 0 when the file is missing, unreadable, too short, not a BMP or
/// has an OS/2 core header. Sets FileMode to 0.
ZELVO_API int32_t GetBmpDepth(const char* BmpFile);
/// Exchanges bytes 0 and 2 of Size consecutive 3-byte groups (BGR <-> RGB). Size below 1 does
/// nothing.
ZELVO_API void SwapRGB(void* Data, int32_t Size);
/// Builds the mipmap chain of the bound texture from 24-bit RGB or 32-bit BGRA pixels.
ZELVO_API void AddMipmapsTexture(int32_t Format, int32_t Width, int32_t Height, const void* Bits);
/// Loads a BMP file into slot Num (0..500). The slot always receives a fresh texture name; only a
/// loadable 24- or 32-bit file gives it an image.
ZELVO_API void TextureLoadID(const char* BmpFile, int32_t Num);
/// Binds the BMP slot's texture (name 0 for a slot never loaded).
ZELVO_API void TextureSelectID(int32_t Num);
