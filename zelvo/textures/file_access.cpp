// File services shared by the BMP and TGA readers.
#include "file_access.h"

#include <sys/stat.h>

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
  FILE* file = std::fopen(name, "rb");
  struct stat info;
  if (file && (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode))) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

void InOutError(const char* operation) {
  std::fprintf(stderr, "Zelvo: run-time error: input/output error in %s: %s\n", operation,
               std::strerror(errno));
  std::fflush(stderr);
  std::exit(2);
}

std::size_t ReadBytes(void* destination, std::size_t count, FILE* file) {
  std::size_t got = std::fread(destination, 1, count, file);
  if (got < count && std::ferror(file)) InOutError("a file read");
  return got;
}

void CloseFile(FILE* file) {
  if (std::fclose(file) != 0) InOutError("a file close");
}

}  // namespace zelvo
