// Unpack settings for uploading tightly packed rows, restored when the upload is done.
#pragma once

#include <GL/gl.h>

namespace zelvo {

class PackedRowsUnpack {
 public:
  PackedRowsUnpack();
  ~PackedRowsUnpack();
  PackedRowsUnpack(const PackedRowsUnpack&) = delete;
  PackedRowsUnpack& operator=(const PackedRowsUnpack&) = delete;

 private:
  GLint alignment_, row_length_, skip_rows_, skip_pixels_;
};

}  // namespace zelvo
