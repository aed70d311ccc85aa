// The high-resolution counter: the monotonic clock in the 100-nanosecond ticks Windows commonly
// reports, so programs that assume that rate see the real one.
#include <time.h>

#include "error_codes.h"

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;

}  // namespace

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) {
    SetLastError(plat::kErrorInvalidParameter);
    return FALSE;
  }
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  count->QuadPart = int64_t{now.tv_sec} * kTicksPerSecond + now.tv_nsec / 100;
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) {
    SetLastError(plat::kErrorInvalidParameter);
    return FALSE;
  }
  frequency->QuadPart = kTicksPerSecond;
  return TRUE;
}
