#include "core/failure_report.h"

#include <cstdio>
#include <cstring>

namespace zelvo {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// "/x", "\\server\x" or "C:\x" (Windows names reach the library on both platforms).
bool IsAbsolute(const std::string& name) {
  return (!name.empty() && IsSeparator(name[0])) ||
         (name.size() >= 3 && name[1] == ':' && IsSeparator(name[2]));
}

std::string CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return "(unknown folder)";
  std::string folder(needed, '\0');
  const DWORD length = GetCurrentDirectoryA(needed, folder.data());
  if (length == 0 || length >= needed) return "(unknown folder)";
  folder.resize(length);
  return folder;
}

}  // namespace

std::string FolderOf(const char* file) {
  const std::string name = file ? file : "";
  size_t cut = name.find_last_of("/\\");
  if (IsAbsolute(name)) return cut == 0 ? name.substr(0, 1) : name.substr(0, cut);
  std::string folder = CurrentFolder();
  if (cut != std::string::npos) {
    if (folder.empty() || !IsSeparator(folder.back())) folder += '/';
    folder += name.substr(0, cut);
  }
  return folder;
}

std::string WindowsErrorText(DWORD code) {
  char text[512];
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.'))
    --length;
  if (length == 0) return "Windows error " + std::to_string(code);
  return std::string(text, length);
}

void ReportFileFailure(const char* function, const char* file, const std::string& reason) {
  std::fprintf(stderr, "Zelvo: %s: \"%s\" in %s: %s\n", function, file ? file : "",
               FolderOf(file).c_str(), reason.c_str());
  std::fflush(stderr);
}

void ReportFailure(const char* function, const std::string& reason) {
  std::fprintf(stderr, "Zelvo: %s: %s\n", function, reason.c_str());
  std::fflush(stderr);
}

}  // namespace zelvo
