// Where the demo looks for a texture file: the current folder first, then the folder of the
// program's executable, and otherwise one line on standard error naming the file and both folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "texture_files.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  std::string program(path, n > 0 ? size_t(n) : 0);
  return program.substr(0, program.rfind('/'));
}

class DemoTextureLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    char here[PATH_MAX];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    old_ = here;
    ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(old_.c_str()), 0);
    std::remove(beside_.c_str());
  }
  // A file of that name beside the test program, removed after the test.
  void PutBesideProgram(const std::string& name) {
    beside_ = ProgramFolder() + "/" + name;
    FILE* f = std::fopen(beside_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
  }
  std::string Lookup(const char* name, std::string* error_output) {
    ::testing::internal::CaptureStderr();
    std::string found = TextureFile(name);
    *error_output = ::testing::internal::GetCapturedStderr();
    return found;
  }

  ScratchDir dir_;
  std::string old_, beside_;
};

TEST_F(DemoTextureLookup, TheCurrentFolderComesFirst) {
  const std::string name = "lookup-" + std::to_string(getpid()) + ".tga";
  dir_.Write(name, Bytes(1));
  PutBesideProgram(name);
  std::string error_output;
  EXPECT_EQ(Lookup(name.c_str(), &error_output), name) << "the name stays as the program gave it";
  EXPECT_EQ(error_output, "");
}

TEST_F(DemoTextureLookup, StartedElsewhereTheProgramsFolderIsUsed) {
  const std::string name = "lookup-" + std::to_string(getpid()) + ".bmp";
  PutBesideProgram(name);
  std::string error_output;
  EXPECT_EQ(Lookup(name.c_str(), &error_output), ProgramFolder() + "/" + name);
  EXPECT_EQ(error_output, "");
}

TEST_F(DemoTextureLookup, AFileInNeitherFolderIsNamedWithBothFolders) {
  std::string error_output;
  EXPECT_EQ(Lookup("nowhere-to-be-found.tga", &error_output), "nowhere-to-be-found.tga");
  EXPECT_EQ(error_output,
            "TornadoDemo: texture file \"nowhere-to-be-found.tga\" is neither in the "
            "current folder (" +
                dir_.path() + ") nor beside the program (" + ProgramFolder() + "/)\n");
}

}  // namespace
