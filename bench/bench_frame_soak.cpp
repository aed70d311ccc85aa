// Soak run of the demo scene: draws many frames and samples the resident set size from
// /proc/self/statm, to show that memory stops growing once start-up is over.
//
//   bench_frame_soak [--frames=N] [--size=WxH] [--every=N]   (defaults 100000, 160x120, 5000)
//
// Prints one line per sample and reports, as benchmark counters, the resident size after the
// warm-up (the first sample), at the end, and the largest growth over the warm-up figure.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench_flags.h"
#include "bench_scene_support.h"

namespace {

long g_frames = 100000, g_every = 5000;
int g_width = 160, g_height = 120;

// Resident set in kilobytes, or -1 when /proc cannot be read.
long ResidentKb() {
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return -1;
  long size = 0, resident = 0;
  int got = std::fscanf(f, "%ld %ld", &size, &resident);
  std::fclose(f);
  return got == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

void BM_Soak(benchmark::State& state) {
  bench_scene::Start(g_width, g_height);
  long first = -1, last = -1, maxGrowth = 0;
  for (auto _ : state) {
    for (long frame = 1; frame <= g_frames; ++frame) {
      OpenGL_Draw();
      glFinish();
      if (frame % g_every == 0) {
        last = ResidentKb();
        if (first < 0) first = last;
        maxGrowth = std::max(maxGrowth, last - first);
        std::printf("frame %ld: resident %ld kB\n", frame, last);
        std::fflush(stdout);
      }
    }
  }
  state.counters["rss_after_warmup_kB"] = static_cast<double>(first);
  state.counters["rss_end_kB"] = static_cast<double>(last);
  state.counters["rss_max_growth_kB"] = static_cast<double>(maxGrowth);
  state.counters["frames"] = static_cast<double>(g_frames);
}

}  // namespace

int main(int argc, char** argv) {
  std::string v;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (Flag(argv[i], "--frames", v)) {
      g_frames = std::max(1L, std::atol(v.c_str()));
    } else if (Flag(argv[i], "--every", v)) {
      g_every = std::max(1L, std::atol(v.c_str()));
    } else if (Flag(argv[i], "--size", v)) {
      if (std::sscanf(v.c_str(), "%dx%d", &g_width, &g_height) != 2 || g_width <= 0 ||
          g_height <= 0) {
        std::fprintf(stderr, "--size wants WxH, for example 160x120\n");
        return 2;
      }
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  benchmark::RegisterBenchmark("BM_Soak", BM_Soak)
      ->Iterations(1)
      ->Unit(benchmark::kSecond)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
