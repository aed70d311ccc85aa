// Unpack settings for tightly packed rows. Row length and skips are zeroed too: an application's
// leftover sub-image settings would otherwise make OpenGL read past the end of the buffer.
#include "unpack_state.h"

namespace zelvo {

namespace {

void Apply(bool alignment, bool row_length, bool skip_rows, bool skip_pixels) {
  if (alignment) glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (row_length) glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  if (skip_rows) glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  if (skip_pixels) glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

}  // namespace

PackedRowsUnpack::PackedRowsUnpack() {
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment_);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length_);
  glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skip_rows_);
  glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skip_pixels_);
  Apply(true, true, true, true);
}

PackedRowsUnpack::PackedRowsUnpack(std::size_t row_bytes) {
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment_);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length_);
  glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skip_rows_);
  glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skip_pixels_);
  set_alignment_ = alignment_ <= 0 || row_bytes % static_cast<std::size_t>(alignment_) != 0;
  set_row_length_ = row_length_ != 0;
  set_skip_rows_ = skip_rows_ != 0;
  set_skip_pixels_ = skip_pixels_ != 0;
  Apply(set_alignment_, set_row_length_, set_skip_rows_, set_skip_pixels_);
}

PackedRowsUnpack::~PackedRowsUnpack() {
  if (set_alignment_) glPixelStorei(GL_UNPACK_ALIGNMENT, alignment_);
  if (set_row_length_) glPixelStorei(GL_UNPACK_ROW_LENGTH, row_length_);
  if (set_skip_rows_) glPixelStorei(GL_UNPACK_SKIP_ROWS, skip_rows_);
  if (set_skip_pixels_) glPixelStorei(GL_UNPACK_SKIP_PIXELS, skip_pixels_);
}

}  // namespace zelvo
