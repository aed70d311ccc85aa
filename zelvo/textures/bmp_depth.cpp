// GetBmpDepth: the bit depth a BMP file's headers declare, read by the library itself.
#include <cstdint>

#include "file_access.h"
#include "zelvo/textures.h"

int32_t GetBmpDepth(const char* BmpFile) {
  if (!zelvo::FileExists(BmpFile)) return 0;
  FileMode = 0;
  // A file that exists but cannot be opened, or ends inside its headers, is simply not a usable
  // BMP.
  FILE* file = zelvo::OpenForReading(BmpFile);
  if (!file) return 0;
  uint8_t file_header[14];
  uint8_t info_header[40];
  int32_t depth = 0;
  if (zelvo::ReadBytes(file_header, sizeof file_header, file) == sizeof file_header &&
      file_header[0] == 'B' && file_header[1] == 'M' &&
      zelvo::ReadBytes(info_header, sizeof info_header, file) == sizeof info_header) {
    const uint32_t header_size = info_header[0] | info_header[1] << 8 | info_header[2] << 16 |
                                 uint32_t{info_header[3]} << 24;
    if (header_size != 12) depth = info_header[14] | info_header[15] << 8;
  }
  zelvo::CloseFile(file);
  return depth;
}
