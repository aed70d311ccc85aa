// The main of every test program. A program holds the tests of a whole area, but CTest runs each
// source file's tests in a process of its own, as they were written to run: `--tests-of=FILE`
// selects the tests defined in FILE (a path ending, such as `winapi/test_bitblt.cpp`). An explicit
// --gtest_filter wins, which is also how a death test's child finds its one test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kTestsOf = "--tests-of=";

bool EndsWithPath(std::string_view file, std::string_view wanted) {
  if (file.size() < wanted.size() || file.substr(file.size() - wanted.size()) != wanted) {
    return false;
  }
  if (file.size() == wanted.size()) return true;
  const char before = file[file.size() - wanted.size() - 1];
  return before == '/' || before == '\\';
}

// Every test of the program defined in `file`, as a --gtest_filter pattern; empty when none is.
std::string FilterOf(std::string_view file) {
  std::string filter;
  const testing::UnitTest& all = *testing::UnitTest::GetInstance();
  for (int s = 0; s < all.total_test_suite_count(); ++s) {
    const testing::TestSuite& suite = *all.GetTestSuite(s);
    for (int t = 0; t < suite.total_test_count(); ++t) {
      const testing::TestInfo& test = *suite.GetTestInfo(t);
      if (!EndsWithPath(test.file(), file)) continue;
      if (!filter.empty()) filter += ':';
      filter += suite.name();
      filter += '.';
      filter += test.name();
    }
  }
  return filter;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.substr(0, kTestsOf.size()) != kTestsOf) {
      std::fprintf(stderr, "%s: unknown argument %s\n", argv[0], argv[i]);
      return 2;
    }
    const std::string_view file = arg.substr(kTestsOf.size());
    const std::string filter = FilterOf(file);
    if (filter.empty()) {
      std::fprintf(stderr, "%s: no test is defined in %.*s\n", argv[0],
                   static_cast<int>(file.size()), file.data());
      return 2;
    }
    if (GTEST_FLAG_GET(filter) == "*") GTEST_FLAG_SET(filter, filter);
  }
  return RUN_ALL_TESTS();
}
