// Where the demo looks for a texture file: the current folder first, then the folder of the
// program's executable, and otherwise one line on standard error naming the file and both folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "texture_files.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

// The folder of this test program, without a trailing separator.
std::string ProgramFolder() {
  char path[4096];
  const DWORD n = GetModuleFileNameA(HMODULE{}, path, sizeof path);
  std::string program(path, n < sizeof path ? n : 0);
  return program.substr(0, program.find_last_of("/\\"));
}

// The separator the program's path uses, which the lookup keeps.
char ProgramSeparator() {
  char path[4096];
  const DWORD n = GetModuleFileNameA(HMODULE{}, path, sizeof path);
  return n < sizeof path ? path[std::string(path, n).find_last_of("/\\")] : '/';
}

// A name no other run of this program uses at the same time.
std::string UniqueName(const char* extension) {
  return "lookup-" + std::to_string(std::random_device()()) + extension;
}

class DemoTextureLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    std::filesystem::current_path(old_);
    if (!beside_.empty()) std::remove(beside_.c_str());
  }
  // A file of that name beside the test program, removed after the test.
  void PutBesideProgram(const std::string& name) {
    beside_ = ProgramFolder() + ProgramSeparator() + name;
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
  std::filesystem::path old_;
  std::string beside_;
};

TEST_F(DemoTextureLookup, TheCurrentFolderComesFirst) {
  const std::string name = UniqueName(".tga");
  dir_.Write(name, Bytes(1));
  PutBesideProgram(name);
  std::string error_output;
  EXPECT_EQ(Lookup(name.c_str(), &error_output), name) << "the name stays as the program gave it";
  EXPECT_EQ(error_output, "");
}

TEST_F(DemoTextureLookup, StartedElsewhereTheProgramsFolderIsUsed) {
  const std::string name = UniqueName(".bmp");
  PutBesideProgram(name);
  std::string error_output;
  EXPECT_EQ(Lookup(name.c_str(), &error_output), ProgramFolder() + ProgramSeparator() + name);
  EXPECT_EQ(error_output, "");
}

TEST_F(DemoTextureLookup, AFileInNeitherFolderIsNamedWithBothFolders) {
  std::string error_output;
  EXPECT_EQ(Lookup("nowhere-to-be-found.tga", &error_output), "nowhere-to-be-found.tga");
  EXPECT_EQ(error_output,
            "TornadoDemo: texture file \"nowhere-to-be-found.tga\" is neither in the "
            "current folder (" +
                dir_.path() + ") nor beside the program (" + ProgramFolder() + ProgramSeparator() +
                ")\n");
}

}  // namespace
