// Pieces shared by the three TGA reading operations.
#pragma once

#include <cstdint>

#include "zelvo/textures.h"

namespace zelvo {

// Every reader message is a plain OK box with no owner.
void TgaMessage(const char* text, const char* caption = "ERROR");

// Reads the 6 image-header bytes, fills Texture and TGA, and allocates the image buffer of at most
// max_image_size bytes. False after showing the message of the step that failed.
bool ReadImageHeader(TGATexture& Texture, uint64_t max_image_size);

// Releases the image buffer of a failed load so that the record never holds a dangling pointer.
void ReleaseImage(TGATexture& Texture);

}  // namespace zelvo
