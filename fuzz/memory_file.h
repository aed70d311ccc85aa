// A file in memory with a real name (/proc/self/fd/N), so that a fuzz input reaches a loader
// through the same open, stat and read calls as a file on disk, without touching the disk.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("zelvo-fuzz", MFD_CLOEXEC)) {
    if (fd_ < 0) __builtin_trap();
    name_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~MemoryFile() { close(fd_); }

  // Replaces the file's contents by `size` bytes of `data`; returns the file's name.
  const char* Hold(const uint8_t* data, size_t size) {
    if (ftruncate(fd_, 0) != 0) __builtin_trap();
    size_t done = 0;
    while (done < size) {
      const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
      if (n <= 0) __builtin_trap();
      done += static_cast<size_t>(n);
    }
    return name_.c_str();
  }

 private:
  int fd_;
  std::string name_;
};

}  // namespace fuzz
