// File names as Windows treats them: without regard to case. The one place that looks a name up
// that way; the file loaders and GetFileAttributesA all go through it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace plat {

// The existing file or folder that `name` designates on Windows: `name` itself when it exists;
// otherwise the path whose every component matches the one asked for without regard to ASCII case,
// trying an exact component first, then the other matches in byte order, and backing up when a
// folder chosen leads nowhere. "." and ".." are kept as they are. Nothing when no path matches;
// `error` (when given) then says whether the last component (kErrorFileNotFound) or a folder on
// the way (kErrorPathNotFound) was missing.
std::optional<std::string> find_file_name(const char* name, DWORD* error = nullptr);

}  // namespace plat
