// File names as Windows treats them: without regard to case, and in the program's Windows-1252
// where the disk holds UTF-8. The one place that looks a name up that way; the file loaders and
// GetFileAttributesA all go through it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace plat {

// The existing file or folder that `name` designates on Windows: `name` itself when it exists;
// otherwise the path whose every component matches the one asked for, trying first the entry of
// the same bytes, then the one whose UTF-8 name is the component's Windows-1252 text, then the
// other matches in byte order, and backing out of a folder chosen that leads nowhere. An entry
// matches when its bytes equal the component's without regard to ASCII case (so a name on disk
// that is not UTF-8 is still found by its own bytes), or when its UTF-8 name, in Windows-1252,
// equals the component without regard to case as Windows folds it. "." and ".." are kept as they
// are. The work is bounded whatever links the folders hold: each folder is read at most once a
// lookup, and no folder is searched twice for the same rest of the path.
//
// Nothing when no path matches; `error` (when given) then says why: kErrorAccessDenied when a
// folder on the way could not be read or searched, otherwise whether the last component
// (kErrorFileNotFound) or a folder on the way (kErrorPathNotFound) was missing.
std::optional<std::string> find_file_name(const char* name, DWORD* error = nullptr);

// The work of the calling thread's last find_file_name: the folders whose entries it read and the
// names it looked at the disk for. Tests, benchmarks and the fuzz target bound it by counting.
struct FileNameWork {
  size_t folders_read = 0;
  size_t names_checked = 0;
};
FileNameWork last_file_name_work();

}  // namespace plat
