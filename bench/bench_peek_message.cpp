// One PeekMessageA(PM_NOREMOVE) step on an empty queue with a window open, beside its floor in the
// same run: XPending on the very connection the layer uses. The frame loop pays the first once per
// frame; it should cost little more than the second. Names "peek:empty:ours" and ":floor".
#include <benchmark/benchmark.h>
#include <windows.h>
// Xlib after windows.h: its macros stay out of the layer's declarations.
#include <X11/Xlib.h>

#include "x_display.h"

namespace {

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

HWND open_window() {
  static HWND window = 0;
  if (window) return window;
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "PeekBenchWindow";
  RegisterClassA(&wc);
  window = CreateWindowExA(0, "PeekBenchWindow", "bench", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0,
                           320, 240, 0, 0, 0, nullptr);
  // Empty the queue (exposure, paint) so that every measured step finds nothing.
  MSG msg;
  for (int i = 0; i < 100; ++i)
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  return window;
}

void BM_PeekMessageEmptyQueue(benchmark::State& state) {
  if (!open_window()) {
    state.SkipWithError("no window (is DISPLAY set?)");
    return;
  }
  MSG msg;
  for (auto _ : state) {
    BOOL got = PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE);
    benchmark::DoNotOptimize(got);
  }
}
BENCHMARK(BM_PeekMessageEmptyQueue)->Name("peek:empty:ours");

void BM_BareXPending(benchmark::State& state) {
  Display* d = open_window() ? plat::x_display() : nullptr;
  if (!d) {
    state.SkipWithError("no display");
    return;
  }
  for (auto _ : state) {
    int pending = XPending(d);
    benchmark::DoNotOptimize(pending);
  }
}
BENCHMARK(BM_BareXPending)->Name("peek:empty:floor");

}  // namespace

BENCHMARK_MAIN();
