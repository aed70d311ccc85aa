// Pieces shared by the three TGA reading operations.
#pragma once

#include <cstdint>
#include <string>

#include "tga_input.h"
#include "zelvo/textures.h"

namespace zelvo {

// Every reader message is a plain OK box with no owner. Before the box, one line on standard
// error names the entry point, the file and its folder, the message and `detail`, the cause.
void TgaMessage(const char* text, const char* caption = "ERROR", const std::string& detail = {});
// The message in a box captioned "ERROR", the usual caption.
inline void TgaError(const char* text, const std::string& detail) {
  TgaMessage(text, "ERROR", detail);
}

// Names the entry point and the file of the load in progress for the messages' standard-error
// line, unless an outer entry point (LoadTGA around the readers) has named them already.
class TgaLoadScope {
 public:
  TgaLoadScope(const char* function, const char* file);
  ~TgaLoadScope();
  TgaLoadScope(const TgaLoadScope&) = delete;
  TgaLoadScope& operator=(const TgaLoadScope&) = delete;

 private:
  bool outermost_;
};

// Reads the 6 image-header bytes, fills Texture and TGA, and allocates the image buffer of at most
// max_image_size bytes. False after showing the message of the step that failed.
bool ReadImageHeader(TGATexture& Texture, uint64_t max_image_size, TgaInput& in);

// The two halves of LoadTGA on an input positioned just after byte 11. On success they close it.
bool ReadUncompressedTga(TGATexture& Texture, TgaInput& in);
bool ReadCompressedTga(TGATexture& Texture, TgaInput& in);

// The read-ahead a reader over a stream keeps on its stack: small enough for any thread's stack,
// far larger than the largest packet (128 pixels of 4 bytes).
inline constexpr std::size_t kStreamReadAhead = 64 * 1024;

// Releases the image buffer of a failed load so that the record never holds a dangling pointer.
void ReleaseImage(TGATexture& Texture);

}  // namespace zelvo
