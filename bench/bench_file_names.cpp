// A file name looked up without regard to case through a folder whose two links aA and Aa both lead
// back to itself, "aa/" repeated N times and then a name that is not there: every case match leads
// on, and none to the file. Beside it, its floor in the same run: the lookup of a plain existing
// path through the same links, which the kernel answers in one stat. Each component costs the
// search at least one look at the path up to it, so the ratio grows with N; it must grow no faster.
// Names "lookup:N:ours" and "lookup:N:floor".
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "file_name_case.h"

namespace {

const std::string& linked_folder() {
  static const std::string folder = [] {
    namespace fs = std::filesystem;
    std::random_device random;
    fs::path dir;
    do {
      dir = fs::temp_directory_path() / ("zelvo-bench-names-" + std::to_string(random()));
    } while (!fs::create_directory(dir));
    fs::create_directory_symlink(".", dir / "aA");
    fs::create_directory_symlink(".", dir / "Aa");
    std::ofstream(dir / "file") << "x";
    return dir.string();
  }();
  return folder;
}

// Relative to the linked folder, made the current one: a lookup that fails backs out of every
// folder its name passes through, and the folders above the linked one are no part of the case.
std::string repeated(const char* component, int64_t times, const char* last) {
  if (chdir(linked_folder().c_str()) != 0) return last;
  std::string path;
  for (int64_t i = 0; i < times; ++i) path += std::string(component) + "/";
  return path + last;
}

void BM_LookupThroughLinks(benchmark::State& state) {
  const std::string name = repeated("aa", state.range(0), "missing");
  for (auto _ : state) {
    auto found = plat::find_file_name(name.c_str());
    benchmark::DoNotOptimize(found);
  }
}

void BM_ExistingPath(benchmark::State& state) {
  const std::string name = repeated("aA", state.range(0), "file");
  if (!plat::find_file_name(name.c_str())) state.SkipWithError("the floor's path is not there");
  for (auto _ : state) {
    auto found = plat::find_file_name(name.c_str());
    benchmark::DoNotOptimize(found);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int n : {8, 16, 20}) {
    benchmark::RegisterBenchmark(("lookup:" + std::to_string(n) + ":ours").c_str(),
                                 BM_LookupThroughLinks)
        ->Arg(n)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("lookup:" + std::to_string(n) + ":floor").c_str(),
                                 BM_ExistingPath)
        ->Arg(n)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
  std::filesystem::remove_all(linked_folder(), ignored);
  return 0;
}
