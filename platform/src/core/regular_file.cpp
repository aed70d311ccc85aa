// Opening and reading the files the loaders read.
#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <string>

#include "error_codes.h"
#include "file_name_case.h"

namespace plat {

RegularFile::RegularFile(const char* name) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer before fstat can
  // tell what it is.
  int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
    // Not there under this exact name: Windows would still find it under another case.
    DWORD error = kErrorFileNotFound;
    std::optional<std::string> found = find_file_name(name, &error);
    if (!found) {
      SetLastError(error);
      return;
    }
    fd = ::open(found->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? kErrorFileNotFound : kErrorAccessDenied);
    return;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    ::close(fd);
    SetLastError(kErrorAccessDenied);
    return;
  }
  // O_NONBLOCK stays: it changes nothing for a regular file, the only kind read, and clearing it
  // would cost two system calls per file, which are not cheap on every machine.
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool RegularFile::read_at(void* buffer, size_t count, uint64_t offset) const {
  auto* out = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    ssize_t n = ::pread(fd_, out, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(kErrorReadFault);
      return false;
    }
    if (n == 0) {
      SetLastError(kErrorInvalidData);  // the file ended before the bytes its headers promise
      return false;
    }
    out += n;
    count -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

bool RegularFile::read_up_to(std::vector<uint8_t>& out, size_t limit, uint64_t offset) const {
  const uint64_t left = offset < size_ ? size_ - offset : 0;
  const size_t count = static_cast<size_t>(std::min<uint64_t>(left, limit));
  try {
    out.resize(count);
  } catch (const std::bad_alloc&) {
    SetLastError(kErrorNotEnoughMemory);
    return false;
  }
  return read_at(out.data(), count, offset);
}

}  // namespace plat
