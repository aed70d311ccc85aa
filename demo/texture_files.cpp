#include "texture_files.h"

#include <windows.h>

#include <cstdio>

namespace {

bool IsFile(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder of the program's executable, with its trailing separator; empty when unknown.
std::string ProgramFolder() {
  char path[4096];
  const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  const std::string program(path, length);
  const size_t cut = program.find_last_of("/\\");
  return cut == std::string::npos ? std::string() : program.substr(0, cut + 1);
}

std::string CurrentFolder() {
  char path[4096];
  const DWORD length = GetCurrentDirectoryA(sizeof path, path);
  return length > 0 && length < sizeof path ? std::string(path, length) : "(unknown)";
}

}  // namespace

std::string TextureFile(const char* name) {
  if (IsFile(name)) return name;
  const std::string folder = ProgramFolder();
  if (!folder.empty() && IsFile(folder + name)) return folder + name;
  std::fprintf(stderr,
               "TornadoDemo: texture file \"%s\" is neither in the current folder (%s) nor beside "
               "the program (%s)\n",
               name, CurrentFolder().c_str(), folder.empty() ? "unknown" : folder.c_str());
  std::fflush(stderr);
  return name;
}
