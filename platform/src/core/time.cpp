// Time services.
#include <windows.h>

#include <chrono>
#include <thread>

DWORD GetTickCount(void) {
  // Milliseconds since an arbitrary start, wrapping at 2^32 like the real counter.
  using namespace std::chrono;
  return static_cast<DWORD>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Sleep(DWORD milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
