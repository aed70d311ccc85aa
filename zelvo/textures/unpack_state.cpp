// Unpack settings for tightly packed rows. Row length and skips are zeroed too: an application's
// leftover sub-image settings would otherwise make OpenGL read past the end of the buffer.
#include "unpack_state.h"

namespace zelvo {

PackedRowsUnpack::PackedRowsUnpack() {
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment_);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length_);
  glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skip_rows_);
  glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skip_pixels_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

PackedRowsUnpack::~PackedRowsUnpack() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment_);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, row_length_);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, skip_rows_);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, skip_pixels_);
}

}  // namespace zelvo
