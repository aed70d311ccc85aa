// Frame time of the demo scene at 800 x 600 on the GL implementation at hand (Mesa's llvmpipe on
// the test server), and the time of the same frame's calls when GL only records them into a
// display list: an upper bound of our own per-frame work (the twister's geometry, the library
// calls), to be read as a share of the full frame.
#include <benchmark/benchmark.h>

#include "bench_scene_support.h"

namespace {

zelvo_test::GlTestContext* Context() {
  static zelvo_test::GlTestContext* gl = bench_scene::Start(800, 600);
  return gl;
}

void BM_Frame800x600(benchmark::State& state) {
  Context();
  for (auto _ : state) {
    OpenGL_Draw();
    glFinish();
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame800x600)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same calls, compiled into a display list instead of executed: nothing is transformed,
// lit or rasterised, so what remains is our code plus the cheapest path through GL's dispatch.
void BM_FrameCallsRecordedOnly(benchmark::State& state) {
  Context();
  GLuint list = glGenLists(1);
  for (auto _ : state) {
    glNewList(list, GL_COMPILE);
    OpenGL_Draw();
    glEndList();
  }
  glDeleteLists(list, 1);
}
BENCHMARK(BM_FrameCallsRecordedOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
