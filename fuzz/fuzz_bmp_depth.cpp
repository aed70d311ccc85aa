// Fuzzes GetBmpDepth on a memory file: never stops the program, closes the file, and returns the
// header's depth exactly when the file is long enough to hold both headers, starts with B and M and
// has no OS/2 core header.
#include <unistd.h>

#include <Zelvo.h>

#include <cstdint>

#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemoryFile file;
  const int32_t depth = GetBmpDepth(file.Hold(data, size));
  int32_t expected = 0;
  if (size >= 54 && data[0] == 'B' && data[1] == 'M') {
    const uint32_t header_size =
        data[14] | data[15] << 8 | data[16] << 16 | uint32_t{data[17]} << 24;
    if (header_size != 12) expected = data[28] | data[29] << 8;
  }
  if (depth != expected || FileMode != 0) __builtin_trap();
  return 0;
}
