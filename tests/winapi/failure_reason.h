// The code a failing call leaves for GetLastError, checked the same way by every test of failure
// reasons, with Windows API calls only.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace zelvo_test {

constexpr DWORD kUntouched = 0xE0E0E0E0;  // a code no call sets

// The code a failing call left: kUntouched when it set none. The call must fail (return 0).
template <class Call>
DWORD reason(Call call) {
  SetLastError(kUntouched);
  const bool failed = !call();
  EXPECT_TRUE(failed) << "the call succeeded";
  return GetLastError();
}

using FailingCall = std::pair<const char*, std::function<bool()>>;

inline void expect_reasons(const std::vector<FailingCall>& cases, DWORD expected) {
  for (const auto& [name, call] : cases) EXPECT_EQ(reason(call), expected) << name;
}

}  // namespace zelvo_test
