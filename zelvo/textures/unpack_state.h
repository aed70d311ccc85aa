// Unpack settings for uploading tightly packed rows, restored when the upload is done.
#pragma once

#include <GL/gl.h>

#include <cstddef>

namespace zelvo {

class PackedRowsUnpack {
 public:
  // Sets all four settings for packed rows of any length, and restores them.
  PackedRowsUnpack();
  // Sets, and restores, only the settings under which rows of `row_bytes` would not be read as
  // packed: the alignment when it does not divide the row, a row length or skip left non-zero.
  // Under OpenGL's defaults that is nothing but the alignment of odd-sized 24-bit rows.
  explicit PackedRowsUnpack(std::size_t row_bytes);
  ~PackedRowsUnpack();
  PackedRowsUnpack(const PackedRowsUnpack&) = delete;
  PackedRowsUnpack& operator=(const PackedRowsUnpack&) = delete;

 private:
  GLint alignment_, row_length_, skip_rows_, skip_pixels_;
  bool set_alignment_ = true, set_row_length_ = true, set_skip_rows_ = true,
       set_skip_pixels_ = true;
};

}  // namespace zelvo
