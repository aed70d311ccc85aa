// Opening the files the loaders read (bitmaps, cursors, icons). Only regular files are read: a FIFO
// or a device would block the caller or never end, so such a name is refused at the open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

class RegularFile {
 public:
  // Opens `name` for reading without waiting for a writer, falling back to a match without regard
  // to case as Windows would find it; on failure ok() is false and the thread's last error says
  // why (file or path not found, access denied for anything but a regular file).
  explicit RegularFile(const char* name);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  uint64_t size() const { return size_; }

  // Reads exactly `count` bytes at `offset`; false on a read error (ERROR_READ_FAULT) or an early
  // end (ERROR_INVALID_DATA).
  bool read_at(void* buffer, size_t count, uint64_t offset) const;

  // Up to `limit` bytes from `offset` (fewer when the file ends first); false on a read error.
  bool read_up_to(std::vector<uint8_t>& out, size_t limit, uint64_t offset) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

}  // namespace plat
