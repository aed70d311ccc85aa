// The current folder and file attributes.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "error_codes.h"
#include "file_name_case.h"

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  std::string folder(256, '\0');
  while (!::getcwd(folder.data(), folder.size())) {
    if (errno != ERANGE) {
      SetLastError(errno == ENOENT ? plat::kErrorFileNotFound : plat::kErrorAccessDenied);
      return 0;
    }
    folder.resize(folder.size() * 2);
  }
  folder.resize(std::strlen(folder.c_str()));
  if (!buffer || folder.size() + 1 > size) return static_cast<DWORD>(folder.size() + 1);
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  return static_cast<DWORD>(folder.size());
}

DWORD GetFileAttributesA(LPCSTR name) {
  DWORD error = 0;
  std::optional<std::string> path = plat::find_file_name(name, &error);
  struct stat st;
  if (!path || ::stat(path->c_str(), &st) != 0) {
    if (path) error = errno == EACCES ? plat::kErrorAccessDenied : plat::kErrorFileNotFound;
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return (st.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}
