// File services shared by the BMP and TGA readers.
#include "file_access.h"

#include <sys/stat.h>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zelvo {

bool FileExists(const char* name) {
  if (!name || !*name) return false;
  struct stat info;
  return stat(name, &info) == 0 && !S_ISDIR(info.st_mode);
}

FILE* OpenForReading(const char* name) {
  if (!name) return nullptr;
#ifdef _WIN32
  FILE* file = std::fopen(name, "rb");
  struct stat info;
  if (file && (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))) {
    std::fclose(file);
    return nullptr;
  }
  return file;
#else
  // Without O_NONBLOCK the open of a FIFO would wait for a writer, possibly for ever, before fstat
  // could tell that it is no file to read a texture from.
  const int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  const int flags = fcntl(fd, F_GETFL);
  FILE* file = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0 &&
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
    file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
#endif
}

void InOutError(const char* operation) {
  std::fprintf(stderr, "Zelvo: run-time error: input/output error in %s: %s\n", operation,
               std::strerror(errno));
  std::fflush(stderr);
  std::exit(2);
}

std::size_t ReadBytes(void* destination, std::size_t count, FILE* file) {
  if (!file) return 0;  // no file: nothing arrives, as at its end
  std::size_t got = std::fread(destination, 1, count, file);
  if (got < count && std::ferror(file)) InOutError("a file read");
  return got;
}

void CloseFile(FILE* file) {
  if (!file) return;
  if (std::fclose(file) != 0) InOutError("a file close");
}

}  // namespace zelvo
