// Module handles, the program's file name and the thread's last-error value.
#include <unistd.h>

#include <cstring>
#include <string>

#include "error_codes.h"

namespace {
// A constant, non-zero instance handle. It names the program's one module; the layer looks nothing
// up through it.
constexpr HMODULE kProgramModule = 0x00400000u;
thread_local DWORD g_last_error = 0;
}  // namespace

HMODULE GetModuleHandleA(LPCSTR) { return kProgramModule; }

DWORD GetModuleFileNameA(HMODULE module, LPSTR file_name, DWORD size) {
  if (module != 0 && module != kProgramModule) {
    SetLastError(plat::kErrorModNotFound);
    return 0;
  }
  std::string path(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) {
      SetLastError(plat::kErrorFileNotFound);
      return 0;
    }
    if (static_cast<size_t>(n) < path.size()) {
      path.resize(static_cast<size_t>(n));
      break;
    }
    path.resize(path.size() * 2);
  }
  if (!file_name || size == 0) {
    SetLastError(plat::kErrorInsufficientBuffer);
    return 0;
  }
  if (path.size() + 1 > size) {
    // As on Windows: the name cut to fit, terminated, and the buffer's size returned.
    std::memcpy(file_name, path.data(), size - 1);
    file_name[size - 1] = '\0';
    SetLastError(plat::kErrorInsufficientBuffer);
    return size;
  }
  std::memcpy(file_name, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

DWORD GetLastError(void) { return g_last_error; }

void SetLastError(DWORD error) { g_last_error = error; }

void GetStartupInfoA(LPSTARTUPINFOA info) {
  if (!info) return;
  *info = STARTUPINFOA{};
  info->cb = sizeof(STARTUPINFOA);
  info->wShowWindow = 10;  // SW_SHOWDEFAULT
}
