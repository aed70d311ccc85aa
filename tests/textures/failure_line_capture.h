// What the failure-line tests share: a load run with standard error captured and its message boxes
// recorded, the check of the one line it writes, the current folder changed for a while, and the
// system's words for an error code.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "captured_boxes.h"

namespace tex_test {

// Runs `load` with standard error captured and boxes recorded; returns the lines written.
struct Captured {
  std::vector<std::string> lines;
  std::vector<Box> boxes;
};

template <class Load>
Captured Capture(Load load) {
  Captured run;
  CapturedBoxes boxes;
  ::testing::internal::CaptureStderr();
  load();
  const std::string text = ::testing::internal::GetCapturedStderr();
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    run.lines.push_back(text.substr(start, end - start));
  if (start < text.size()) run.lines.push_back(text.substr(start));
  run.boxes = boxes.boxes();
  return run;
}

// One line, of the form `Zelvo: FUNCTION: "FILE" in FOLDER: ...REASON...`.
#define ExpectOneLine(...)        \
  do {                            \
    SCOPED_TRACE("");             \
    ExpectOneLineAt(__VA_ARGS__); \
  } while (0)
inline void ExpectOneLineAt(const Captured& run, const std::string& function,
                            const std::string& file, const std::string& folder,
                            const std::string& reason) {
  ASSERT_EQ(run.lines.size(), 1u) << (run.lines.empty() ? "no line" : run.lines[1]);
  const std::string& line = run.lines[0];
  EXPECT_EQ(line.rfind("Zelvo: " + function + ": \"" + file + "\" in " + folder + ": ", 0), 0u)
      << line;
  EXPECT_NE(line.find(reason), std::string::npos) << line;
}

// Makes `folder` the current folder for the life of the object.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

// The folder that holds `path`.
inline std::string Parent(const std::string& path) {
  return path.substr(0, path.find_last_of("/\\"));
}

// The system's words for an error code, as the lines quote them: Windows' own on our layer ("The
// system cannot find the file specified"), shorter ones of Wine's own under Wine ("File not
// found").
inline std::string SystemText(DWORD code) {
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, text, sizeof text, nullptr);
  while (length > 0 && std::strchr("\r\n. ", text[length - 1])) --length;
  return std::string(text, length);
}

}  // namespace tex_test
