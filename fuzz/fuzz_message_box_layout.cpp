// The message box's text layout on arbitrary text: conversion from Windows-1252, wrapping, cutting
// to the lines the screen holds, and measuring in pieces. No crash; every line fits (or is a single
// character wider than a line); no more lines than allowed; the text is neither lost nor invented
// when nothing is cut. Input: 1 byte of line width, 1 of line count, 1 of piece size, then the
// text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "message_box_text.h"
#include "text_cp1252.h"

namespace {

// A proportional font of sorts: each character's advance follows from its first byte.
int Advance(unsigned char lead) { return 3 + lead % 13; }

int Measure(std::string_view s) {
  int width = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) width += Advance(c);
  return width;
}

size_t Characters(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// The text without what wrapping may drop or turn into line breaks.
std::string Visible(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t') out += c;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int max_width = 1 + data[0] * 4;
  const size_t max_lines = data[1] % 64;
  const size_t piece = data[2];
  const std::string text =
      plat::cp1252_to_utf8(std::string_view(reinterpret_cast<const char*>(data + 3), size - 3));

  if (plat::measure_in_pieces(text, piece, Measure) != Measure(text)) __builtin_trap();

  const std::vector<std::string> lines = plat::wrap_text(text, max_width, Measure);
  std::string joined;
  for (const std::string& line : lines) {
    if (Measure(line) > max_width && Characters(line) > 1) __builtin_trap();
    joined += line;
  }
  if (Visible(joined) != Visible(text)) __builtin_trap();

  const std::vector<std::string> cut = plat::cut_lines(lines, max_lines, max_width, Measure);
  if (cut.empty() || cut.size() > std::max<size_t>(max_lines, 1)) __builtin_trap();
  if (lines.size() <= std::max<size_t>(max_lines, 1)) {
    if (cut != lines) __builtin_trap();
  } else {
    for (size_t i = 0; i + 1 < cut.size(); ++i)
      if (cut[i] != lines[i]) __builtin_trap();
    const std::string& last = cut.back();
    if (last.size() < 3 || last.compare(last.size() - 3, 3, "\xE2\x80\xA6") != 0) __builtin_trap();
    if (Measure(last) > max_width && Characters(last) > 1) __builtin_trap();
  }
  return 0;
}
