// Module handles and the thread's last-error value.
#include <windows.h>

namespace {
// A constant, non-zero instance handle. It names the program's one module; the layer looks nothing
// up through it.
constexpr HMODULE kProgramModule = 0x00400000u;
thread_local DWORD g_last_error = 0;
}  // namespace

HMODULE GetModuleHandleA(LPCSTR) { return kProgramModule; }

DWORD GetLastError(void) { return g_last_error; }

void SetLastError(DWORD error) { g_last_error = error; }

void GetStartupInfoA(LPSTARTUPINFOA info) {
  if (!info) return;
  *info = STARTUPINFOA{};
  info->cb = sizeof(STARTUPINFOA);
  info->wShowWindow = 10;  // SW_SHOWDEFAULT
}
