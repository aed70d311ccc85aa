// Builds a small tree of folders, files and symbolic links to "." and ".." from the input, in a
// fresh temporary folder, and looks a path from the input up without regard to case: the lookup
// must end within a number of folder reads and name checks that grows with the tree and the path,
// never with the ways of walking the links, and a name found must exist and match the one asked for
// component by component.
//
// Input: byte 0 is the number of tree entries (at most 15); each entry is three bytes: the folder
// it goes in (an index into the folders made so far, the tree's root being 0), its kind (folder,
// file, link to ".", link to "..") and its name; every byte after them is one component of the
// path. Names are one or two letters of q, z and e-acute in either case, written in UTF-8 on disk
// and in Windows-1252 in the path, so that the checks here need no case folding of the lookup's
// own.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "file_name_case.h"

namespace {

constexpr int kLetters = 6;  // q Q z Z e-acute E-acute
const char* const kOnDisk[kLetters] = {"q", "Q", "z", "Z", "\xC3\xA9", "\xC3\x89"};
const char* const kAsked[kLetters] = {"q", "Q", "z", "Z", "\xE9", "\xC9"};

// One or two letters; `spelling` says how each is written.
std::string Name(uint8_t byte, const char* const* spelling) {
  std::string name = spelling[byte % kLetters];
  const int second = (byte / kLetters) % (kLetters + 1);
  if (second < kLetters) name += spelling[second];
  return name;
}

// A component reduced to its letters without case, from either spelling: the path's Windows-1252
// or the disk's UTF-8. Other bytes (the temporary folder's own ASCII name) stand for themselves.
std::string Letters(const std::string& component) {
  std::string out;
  for (size_t i = 0; i < component.size(); ++i) {
    const auto c = static_cast<unsigned char>(component[i]);
    if (c == 0xC3 && i + 1 < component.size() &&
        (static_cast<unsigned char>(component[i + 1]) | 0x20) == 0xA9) {
      out += '#';
      ++i;
    } else if (c == 0xE9 || c == 0xC9) {
      out += '#';
    } else {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
  }
  return out;
}

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) out.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t entries = data[0] % 16;
  if (size < 1 + 3 * entries) return 0;
  char temp[] = "/tmp/zelvo-fuzz-names-XXXXXX";
  if (!mkdtemp(temp)) __builtin_trap();
  const std::string root = std::string(temp) + "/root";
  if (mkdir(root.c_str(), 0755) != 0) __builtin_trap();

  std::vector<std::string> folders = {root};
  size_t made = 0;
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* entry = data + 1 + 3 * i;
    const std::string path = folders[entry[0] % folders.size()] + "/" + Name(entry[2], kOnDisk);
    bool ok = false;
    switch (entry[1] % 4) {
      case 0:
        ok = mkdir(path.c_str(), 0755) == 0;
        if (ok) folders.push_back(path);
        break;
      case 1:
        ok = close(creat(path.c_str(), 0644)) == 0;
        break;
      case 2:
        ok = symlink(".", path.c_str()) == 0;
        break;
      default:
        ok = symlink("..", path.c_str()) == 0;
        break;
    }
    made += ok;
  }

  std::string asked = root;
  for (size_t i = 1 + 3 * entries; i < size && i < 1 + 3 * entries + 40; ++i) {
    const uint8_t byte = data[i];
    asked += "/";
    asked += byte >= 0xF0 ? (byte & 1 ? ".." : ".") : Name(byte, kAsked);
  }

  DWORD error = 0;
  const std::optional<std::string> found = plat::find_file_name(asked.c_str(), &error);
  const plat::FileNameWork work = plat::last_file_name_work();

  // Folders read once each: the tree's, its temporary parent and the parent's own ancestors. Each
  // (folder, component) searched once, looking at the component itself and its matches, which
  // are at most every entry of the folder.
  const std::vector<std::string> components = Components(asked);
  const size_t ancestors = Components(temp).size() + 1;
  const size_t reachable = folders.size() + ancestors;
  if (work.folders_read > reachable) __builtin_trap();
  if (work.names_checked > 2 + components.size() * reachable * (2 + made)) __builtin_trap();

  struct stat st;
  const bool exists_as_asked = ::stat(asked.c_str(), &st) == 0;
  if (found) {
    if (::stat(found->c_str(), &st) != 0) __builtin_trap();
    if (exists_as_asked && *found != asked) __builtin_trap();
    const std::vector<std::string> parts = Components(*found);
    if (parts.size() != components.size()) __builtin_trap();
    for (size_t i = 0; i < parts.size(); ++i) {
      const bool dots = components[i] == "." || components[i] == "..";
      if (dots ? parts[i] != components[i] : Letters(parts[i]) != Letters(components[i]))
        __builtin_trap();
    }
  } else if (exists_as_asked || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)) {
    __builtin_trap();
  }

  std::error_code ignored;
  std::filesystem::remove_all(temp, ignored);
  return 0;
}
