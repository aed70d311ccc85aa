// File services shared by the BMP and TGA readers.
#include "file_access.h"

#include <windows.h>

#include <sys/stat.h>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "core/failure_report.h"

namespace zelvo {
namespace {

// The names of the files open for reading, so that a device error can say which file it hit.
std::vector<std::pair<FILE*, std::string>>& OpenFiles() {
  static std::vector<std::pair<FILE*, std::string>> files;
  return files;
}

void Forget(FILE* file) {
  auto& files = OpenFiles();
  for (auto it = files.begin(); it != files.end(); ++it)
    if (it->first == file) {
      files.erase(it);
      return;
    }
}

// A stream closed behind the library's back may come back under the same address: the newest
// name counts.
FILE* Remember(FILE* file, const char* name) {
  if (!file) return nullptr;
  Forget(file);
  OpenFiles().emplace_back(file, name);
  return file;
}

const char* NameOf(FILE* file) {
  for (const auto& [open, name] : OpenFiles())
    if (open == file) return name.c_str();
  return nullptr;
}

void Explain(std::string* why, std::string text) {
  if (why) *why = std::move(text);
}

#ifndef _WIN32
// The name to open when `name` itself is missing: the same file under another case, as Windows
// finds it; `name` itself when there is none.
std::string NameAsOnWindows(const char* name) {
  char found[4096];
  const DWORD length = ZelvoFindFileName(name, found, sizeof found);
  return length > 0 && length < sizeof found ? std::string(found, length) : std::string(name);
}
#endif

}  // namespace

bool FileExists(const char* name) {
  if (!name || !*name) return false;
  const DWORD attributes = GetFileAttributesA(name);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FILE* OpenForReading(const char* name, std::string* why) {
  if (!name) {
    Explain(why, "no file name");
    return nullptr;
  }
#ifdef _WIN32
  FILE* file = std::fopen(name, "rb");
  if (!file) {
    Explain(why, std::strerror(errno));
    return nullptr;
  }
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
    Explain(why, "not a regular file");
    std::fclose(file);
    return nullptr;
  }
  return Remember(file, name);
#else
  const int fd = OpenDescriptorForReading(name, why);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, "rb");
  if (!file) {
    Explain(why, std::strerror(errno));
    close(fd);
  }
  return Remember(file, name);
#endif
}

#ifndef _WIN32
int OpenDescriptorForReading(const char* name, std::string* why, std::uint64_t* size) {
  if (!name) {
    Explain(why, "no file name");
    return -1;
  }
  // Without O_NONBLOCK the open of a FIFO would wait for a writer, possibly for ever, before fstat
  // could tell that it is no file to read a texture from.
  int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
    const std::string other = NameAsOnWindows(name);
    if (other != name) fd = open(other.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0) {
    Explain(why, std::strerror(errno));
    return -1;
  }
  // O_NONBLOCK stays: it changes nothing for a regular file, the only kind read, and clearing it
  // would cost two more system calls per file, which are not cheap on every machine.
  struct stat info;
  if (fstat(fd, &info) != 0)
    Explain(why, std::strerror(errno));
  else if (!S_ISREG(info.st_mode))
    Explain(why, S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file");
  else {
    if (size) *size = static_cast<std::uint64_t>(info.st_size);
    return fd;
  }
  close(fd);
  return -1;
}
#endif

namespace {

[[noreturn]] void InOutErrorOn(const char* operation, const char* name) {
  const int error = errno;
  if (name)
    std::fprintf(stderr, "Zelvo: run-time error: input/output error in %s of \"%s\" in %s: %s\n",
                 operation, name, FolderOf(name).c_str(), std::strerror(error));
  else
    std::fprintf(stderr, "Zelvo: run-time error: input/output error in %s: %s\n", operation,
                 std::strerror(error));
  std::fflush(stderr);
  std::exit(2);
}

}  // namespace

void InOutError(const char* operation, FILE* file) { InOutErrorOn(operation, NameOf(file)); }

std::size_t ReadBytes(void* destination, std::size_t count, FILE* file) {
  if (!file) return 0;  // no file: nothing arrives, as at its end
  std::size_t got = std::fread(destination, 1, count, file);
  if (got < count && std::ferror(file)) InOutError("a file read", file);
  return got;
}

#ifndef _WIN32
std::size_t ReadDescriptor(int fd, void* destination, std::size_t count, std::uint64_t left,
                           const char* name) {
  auto* to = static_cast<uint8_t*>(destination);
  std::size_t got = 0;
  while (got < count) {
    const ssize_t n = read(fd, to + got, count - got);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      if (left > 0 && got < count && got >= left) break;  // the end the size foretold
    } else if (n == 0) {
      break;  // the end of the file
    } else if (errno != EINTR) {
      InOutErrorOn("a file read", name);
    }
  }
  return got;
}

void CloseDescriptor(int fd, const char* name) {
  // After EINTR the descriptor is closed all the same on Linux: nothing was lost.
  if (close(fd) != 0 && errno != EINTR) InOutErrorOn("a file close", name);
}
#endif

void CloseFile(FILE* file) {
  if (!file) return;
  const char* known = NameOf(file);
  const std::string name = known ? known : "";
  Forget(file);
  if (std::fclose(file) != 0) InOutErrorOn("a file close", known ? name.c_str() : nullptr);
}

}  // namespace zelvo
