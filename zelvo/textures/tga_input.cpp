// The TGA readers' input window.
#include "tga_input.h"

#include <algorithm>
#include <cstring>

#include "file_access.h"
#include "zelvo/textures.h"

namespace zelvo {

TgaInput::~TgaInput() {
#ifndef _WIN32
  if (fd_ >= 0) CloseDescriptor(fd_, name_);
#endif
}

std::size_t TgaInput::FromFile(uint8_t* destination, std::size_t n) {
  std::size_t got = 0;
#ifndef _WIN32
  if (fd_ >= 0) {
    got = ReadDescriptor(fd_, destination, n, left_, name_);
    left_ -= std::min<std::uint64_t>(left_, got);
  } else
#endif
    got = ReadBytes(destination, n, stream_);
  if (got < n) at_end_ = true;
  return got;
}

std::size_t TgaInput::Fill(std::size_t n) {
  if (end_ - pos_ >= n) return n;
  std::memmove(buffer_, buffer_ + pos_, end_ - pos_);
  end_ -= pos_;
  pos_ = 0;
  if (!at_end_) end_ += FromFile(buffer_ + end_, capacity_ - end_);
  return std::min(n, end_);
}

std::size_t TgaInput::Read(uint8_t* destination, std::size_t n) {
  const std::size_t buffered = std::min(n, end_ - pos_);
  std::memcpy(destination, buffer_ + pos_, buffered);
  pos_ += buffered;
  if (buffered == n || at_end_) return buffered;
  return buffered + FromFile(destination + buffered, n - buffered);
}

void TgaInput::Close() {
  if (stream_) {
    CloseFile(stream_);
    if (fTGA == stream_) fTGA = nullptr;
    stream_ = nullptr;
  }
#ifndef _WIN32
  if (fd_ >= 0) {
    const int fd = fd_;
    fd_ = -1;
    CloseDescriptor(fd, name_);
  }
#endif
}

}  // namespace zelvo
