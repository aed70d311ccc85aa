// The floors that read a file: the whole file read() into a fresh buffer (taken the way the loaders
// take theirs, so both pay the same first touch), and one pass over bytes already read.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/large_memory.h"

namespace zelvo_bench {

// The file's first `bytes` bytes in a block to release with std::free; null when the file is
// shorter or cannot be opened.
inline uint8_t* ReadWholeFile(const std::string& path, size_t bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return nullptr;
  auto* buffer = static_cast<uint8_t*>(common::allocate_large(bytes));
  size_t got = 0;
  while (buffer && got < bytes) {
    const ssize_t n = ::read(fd, buffer + got, bytes - got);
    if (n <= 0) break;
    got += size_t(n);
  }
  ::close(fd);
  if (got != bytes) {
    std::free(buffer);
    return nullptr;
  }
  return buffer;
}

// Every byte read once, eight at a time; the sum keeps the compiler from dropping the reads.
inline uint64_t TouchOnce(const uint8_t* bytes, size_t n) {
  uint64_t sum = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t v;
    std::memcpy(&v, bytes + i, 8);
    sum += v;
  }
  for (; i < n; ++i) sum += bytes[i];
  return sum;
}

}  // namespace zelvo_bench
