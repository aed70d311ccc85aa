// Known differences between Wine and documented Windows behaviour. A test that checks such a
// behaviour calls SKIP_UNDER_WINE with the reason; it runs everywhere else (our layer, Windows).
// docs/windows.md lists every one.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

namespace zelvo_test {

inline bool under_wine() {
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
  return false;
#endif
}

}  // namespace zelvo_test

#define SKIP_UNDER_WINE(reason)                                         \
  do {                                                                  \
    if (zelvo_test::under_wine()) GTEST_SKIP() << "Wine: " << (reason); \
  } while (0)
