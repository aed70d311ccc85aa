#include "file_name_case.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "error_codes.h"

namespace plat {
namespace {

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool is_folder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_ignoring_case(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

std::string join(const std::string& prefix, const std::string& component) {
  if (prefix.empty()) return component;
  if (prefix.back() == '/') return prefix + component;
  return prefix + "/" + component;
}

// The entries of `folder` that match `component` without regard to case: the exact one first,
// then the others in byte order, so that the choice among several never depends on the directory's
// order on disk.
std::vector<std::string> matches(const std::string& folder, const std::string& component) {
  std::vector<std::string> found;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir))
    if (same_ignoring_case(component, entry->d_name)) found.emplace_back(entry->d_name);
  ::closedir(dir);
  std::sort(found.begin(), found.end(), [&](const std::string& a, const std::string& b) {
    if ((a == component) != (b == component)) return a == component;
    return a < b;
  });
  return found;
}

struct Search {
  std::vector<std::string> components;
  size_t deepest = 0;  // how many components some attempt matched

  std::optional<std::string> from(const std::string& prefix, size_t index) {
    deepest = std::max(deepest, index);
    if (index == components.size()) return prefix;
    const std::string& component = components[index];
    const bool last = index + 1 == components.size();
    if (component == "." || component == "..") {
      const std::string path = join(prefix, component);
      if (!is_folder(path)) return std::nullopt;
      return from(path, index + 1);
    }
    for (const std::string& entry : matches(prefix, component)) {
      const std::string path = join(prefix, entry);
      if (last) {
        deepest = components.size();
        return path;
      }
      if (!is_folder(path)) continue;
      if (auto found = from(path, index + 1)) return found;
    }
    return std::nullopt;
  }
};

}  // namespace

std::optional<std::string> find_file_name(const char* name, DWORD* error) {
  if (!name || !*name) {
    if (error) *error = kErrorPathNotFound;
    return std::nullopt;
  }
  if (exists(name)) return std::string(name);
  Search search;
  const char* p = name;
  while (*p) {
    const char* end = std::strchr(p, '/');
    if (!end) end = p + std::strlen(p);
    if (end > p) search.components.emplace_back(p, end);
    p = *end ? end + 1 : end;
  }
  std::optional<std::string> found = search.from(name[0] == '/' ? "/" : "", 0);
  if (!found && error)
    *error =
        search.deepest + 1 >= search.components.size() ? kErrorFileNotFound : kErrorPathNotFound;
  return found;
}

}  // namespace plat

DWORD ZelvoFindFileName(LPCSTR name, LPSTR found, DWORD size) {
  DWORD error = 0;
  std::optional<std::string> path = plat::find_file_name(name, &error);
  if (!path) {
    SetLastError(error);
    return 0;
  }
  if (!found || path->size() + 1 > size) return static_cast<DWORD>(path->size() + 1);
  std::memcpy(found, path->c_str(), path->size() + 1);
  return static_cast<DWORD>(path->size());
}
