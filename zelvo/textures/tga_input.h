// The bytes of the TGA file being read: a read-ahead window over a stream (fTGA, or a caller's) or
// over the descriptor LoadTGA opened, and pixel reads that go straight into the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace zelvo {

class TgaInput {
 public:
  // The buffer is the caller's, never read before it is written; no packet or header the readers
  // ask for at once is larger. A null stream reads nothing, as at an early end of the file.
  TgaInput(FILE* stream, uint8_t* buffer, std::size_t capacity)
      : stream_(stream), buffer_(buffer), capacity_(capacity) {}
#ifndef _WIN32
  // Owns fd: closed by Close or, on a path that never gets there, by the destructor.
  // `size` is the file's size at the open (0 when unknown), which spares a read to meet its end.
  TgaInput(int fd, std::uint64_t size, const char* name, uint8_t* buffer, std::size_t capacity)
      : fd_(fd), name_(name), left_(size), buffer_(buffer), capacity_(capacity) {}
#endif
  ~TgaInput();
  TgaInput(const TgaInput&) = delete;
  TgaInput& operator=(const TgaInput&) = delete;

  bool HasFile() const { return stream_ || fd_ >= 0; }

  // Makes up to n (at most the capacity) bytes readable at data(); fewer only when the file ends
  // first. Reads as much as the buffer holds, so a small file takes one read.
  std::size_t Fill(std::size_t n);
  const uint8_t* data() const { return buffer_ + pos_; }
  std::size_t Buffered() const { return end_ - pos_; }
  void Skip(std::size_t n) { pos_ += n; }

  // Moves n bytes to destination: what is buffered first, the rest read from the file straight
  // into it. Fewer only when the file ends first.
  std::size_t Read(uint8_t* destination, std::size_t n);

  // Closes the file (fTGA becomes null when it was the stream); a device error stops the program.
  void Close();

 private:
  std::size_t FromFile(uint8_t* destination, std::size_t n);

  FILE* stream_ = nullptr;
  int fd_ = -1;
  const char* name_ = nullptr;
  std::uint64_t left_ = 0;  // bytes of the descriptor's file not yet read, by its size
  uint8_t* buffer_;
  std::size_t capacity_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
};

}  // namespace zelvo
