#include "file_name_case.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <vector>

#include "error_codes.h"
#include "text_cp1252.h"

namespace plat {
namespace {

thread_local FileNameWork t_work;

std::string ascii_folded(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string cp1252_folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = cp1252_fold_case(c);
  return out;
}

// A folder as the kernel knows it. Whether the rest of a path can be found from a folder depends on
// the folder alone, not on the links that led there (".." too is resolved on the folder itself).
struct FolderId {
  dev_t device;
  ino_t inode;
  bool operator<(const FolderId& other) const {
    return std::tie(device, inode) < std::tie(other.device, other.inode);
  }
};

// One entry of a folder with the two keys it can be matched by.
struct Entry {
  std::string name;
  std::string by_bytes;  // its bytes without regard to ASCII case
  std::string by_text;   // its Windows-1252 text folded, when its name is UTF-8 of that code page
  bool has_text = false;
};

struct Listing {
  std::vector<Entry> entries;  // none when the folder cannot be read
};

class Lookup {
 public:
  explicit Lookup(const char* name) {
    const char* p = name;
    while (*p) {
      const char* end = std::strchr(p, '/');
      if (!end) end = p + std::strlen(p);
      if (end > p) components_.emplace_back(p, end);
      p = *end ? end + 1 : end;
    }
    // Appended rather than assigned from a conditional literal: GCC 12 at -O2 and above reports a
    // false -Wrestrict overlap in std::string's assignment of it.
    if (name[0] == '/') path_.push_back('/');
  }

  std::optional<std::string> run() {
    struct stat st;
    if (!look(path_.empty() ? "." : path_, st) || !S_ISDIR(st.st_mode)) return std::nullopt;
    if (components_.empty()) return path_;
    // Depth-first over the candidates, on an explicit stack: a path may hold thousands of
    // components, and a loader may run on a thread with a small stack.
    std::vector<Frame> stack;
    stack.push_back(enter({st.st_dev, st.st_ino}, 0));
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const size_t index = stack.size() - 1;
      if (frame.next == frame.candidates.size() && !frame.listed) list(frame, index);
      if (frame.next == frame.candidates.size()) {
        failed_.insert({frame.folder, index});
        stack.pop_back();
        continue;
      }
      path_.resize(frame.length);
      if (!path_.empty() && path_.back() != '/') path_ += '/';
      path_ += frame.candidates[frame.next++];
      if (!look(path_, st)) continue;
      if (index + 1 == components_.size()) {
        deepest_ = components_.size();
        return path_;
      }
      if (!S_ISDIR(st.st_mode)) continue;
      const FolderId folder{st.st_dev, st.st_ino};
      if (failed_.count({folder, index + 1})) continue;
      deepest_ = std::max(deepest_, index + 1);
      stack.push_back(enter(folder, index + 1));
    }
    return std::nullopt;
  }

  DWORD error() const {
    if (denied_) return kErrorAccessDenied;
    return deepest_ + 1 >= components_.size() ? kErrorFileNotFound : kErrorPathNotFound;
  }

 private:
  // The search of one folder (path_ up to `length`) for component `index`: the component as it
  // is first, which needs no look at the folder's entries; those are read only when it fails.
  struct Frame {
    FolderId folder;
    size_t length;
    std::vector<std::string> candidates;
    size_t next = 0;
    bool listed = false;
  };

  bool look(const std::string& path, struct stat& st) {
    ++t_work.names_checked;
    if (::stat(path.c_str(), &st) == 0) return true;
    if (errno == EACCES) denied_ = true;
    return false;
  }

  Frame enter(FolderId folder, size_t index) {
    const std::string& component = components_[index];
    Frame frame{folder, path_.size(), {component}};
    frame.listed = component == "." || component == "..";
    return frame;
  }

  // The other entries that match the frame's component, after the one of its own bytes.
  void list(Frame& frame, size_t index) {
    frame.listed = true;
    path_.resize(frame.length);
    const std::string& component = components_[index];
    const Listing& listing = read(frame.folder);
    const std::string by_bytes = ascii_folded(component);
    const std::string by_text = cp1252_folded(component);
    const std::string as_utf8 = cp1252_to_utf8(component);
    const size_t first = frame.candidates.size();
    for (const Entry& entry : listing.entries)
      if (entry.name != component &&
          (entry.by_bytes == by_bytes || (entry.has_text && entry.by_text == by_text)))
        frame.candidates.push_back(entry.name);
    // The name Windows would open first, then byte order: the choice among several never depends
    // on the folder's order on disk.
    std::sort(frame.candidates.begin() + static_cast<std::ptrdiff_t>(first), frame.candidates.end(),
              [&](const std::string& a, const std::string& b) {
                if ((a == as_utf8) != (b == as_utf8)) return a == as_utf8;
                return a < b;
              });
  }

  // The entries of the folder at path_, read once a lookup however often the search comes back.
  const Listing& read(FolderId folder) {
    auto [it, fresh] = listings_.try_emplace(folder);
    Listing& listing = it->second;
    if (!fresh) return listing;
    ++t_work.folders_read;
    DIR* dir = ::opendir(path_.empty() ? "." : path_.c_str());
    if (!dir) {
      if (errno == EACCES) denied_ = true;
      return listing;
    }
    while (const dirent* found = ::readdir(dir)) {
      Entry entry;
      entry.name = found->d_name;
      if (entry.name == "." || entry.name == "..") continue;
      entry.by_bytes = ascii_folded(entry.name);
      const std::string text = utf8_to_cp1252(entry.name);
      entry.has_text = cp1252_to_utf8(text) == entry.name;
      if (entry.has_text) entry.by_text = cp1252_folded(text);
      listing.entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return listing;
  }

  std::vector<std::string> components_;
  std::string path_;  // the folder being searched, then the candidate looked at
  std::map<FolderId, Listing> listings_;
  std::set<std::pair<FolderId, size_t>> failed_;  // (folder, component) known to lead nowhere
  size_t deepest_ = 0;                            // how many components some attempt matched
  bool denied_ = false;
};

}  // namespace

std::optional<std::string> find_file_name(const char* name, DWORD* error) {
  t_work = {};
  if (!name || !*name) {
    if (error) *error = kErrorPathNotFound;
    return std::nullopt;
  }
  ++t_work.names_checked;
  struct stat st;
  if (::stat(name, &st) == 0) return std::string(name);
  Lookup lookup(name);
  std::optional<std::string> found = lookup.run();
  if (!found && error) *error = lookup.error();
  return found;
}

FileNameWork last_file_name_work() { return t_work; }

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
