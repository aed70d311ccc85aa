// The twister's three drawing operations with the demo's arguments, each on its own, on a small
// viewport so that the time is mostly vertex work rather than filling pixels.
#include <benchmark/benchmark.h>

#include "Zelv_Games.h"
#include "gl_test_context.h"

namespace {

TGLTwister g_twister;

void SphereModel() { Sfera(0, 0, 0, 0.25f, 8, 8, 1.0f); }
void EmptyModel() {}

void Prepare() {
  static zelvo_test::GlTestContext gl(64, 64);
  glViewport(0, 0, 64, 64);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-10, 10, -10, 10, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  g_twister.Update(5.0f);
}

void BM_Update(benchmark::State& state) {
  TGLTwister t{};
  for (auto _ : state) {
    t.Update(5.0f);
    benchmark::DoNotOptimize(t);
  }
}
BENCHMARK(BM_Update);

void BM_DrawPolygon(benchmark::State& state) {
  Prepare();
  for (auto _ : state) {
    g_twister.DrawPolygon(-5, 0, 0, 1, 5, 32, 64, 32);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * 2016);  // quads
}
BENCHMARK(BM_DrawPolygon)->Unit(benchmark::kMicrosecond);

void BM_DrawParticle(benchmark::State& state) {
  Prepare();
  for (auto _ : state) {
    g_twister.DrawParticle(0, 0, 0, 1, 5, 32, 64, 10, CLOUD_NORMAL, 8, 4);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * 630);  // sprites
}
BENCHMARK(BM_DrawParticle)->Unit(benchmark::kMicrosecond);

void BM_AddParticleSpheres(benchmark::State& state) {
  Prepare();
  for (auto _ : state) {
    g_twister.AddParticle(5, 0, 0, 1, 5, 32, 64, 14, SphereModel);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * 882);  // spheres
}
BENCHMARK(BM_AddParticleSpheres)->Unit(benchmark::kMicrosecond);

// The particle walk alone: ring points and matrix steps, with a model that draws nothing.
void BM_AddParticleWalkOnly(benchmark::State& state) {
  Prepare();
  for (auto _ : state) {
    g_twister.AddParticle(5, 0, 0, 1, 5, 32, 64, 14, EmptyModel);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * 882);
}
BENCHMARK(BM_AddParticleWalkOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
