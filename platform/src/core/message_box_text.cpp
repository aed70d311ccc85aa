#include "message_box_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace plat {
namespace {

// Length of the UTF-8 sequence starting at `s[i]` (1 for a stray continuation byte).
size_t utf8_length(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  return i + n <= s.size() ? n : 1;
}

std::string trim_right(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Breaks one paragraph (no line feeds) into lines.
void wrap_paragraph(std::string_view para, int max_width,
                    const std::function<int(std::string_view)>& measure,
                    std::vector<std::string>& lines) {
  std::string line;
  size_t i = 0;
  while (i < para.size()) {
    // The next word with the spaces before it.
    size_t start = i;
    while (i < para.size() && para[i] == ' ') ++i;
    size_t word_start = i;
    while (i < para.size() && para[i] != ' ') ++i;
    std::string_view spaces = para.substr(start, word_start - start);
    std::string_view word = para.substr(word_start, i - word_start);
    if (word.empty()) break;  // trailing spaces never start a new line
    std::string candidate = line + std::string(spaces) + std::string(word);
    if (measure(candidate) <= max_width) {
      line = std::move(candidate);
      continue;
    }
    if (!line.empty()) {
      lines.push_back(trim_right(std::move(line)));
      line.clear();
    }
    if (measure(word) <= max_width) {
      line = std::string(word);
      continue;
    }
    // The word does not fit on a line of its own: break it between characters.
    size_t j = 0;
    while (j < word.size()) {
      size_t n = utf8_length(word, j);
      std::string next = line + std::string(word.substr(j, n));
      if (measure(next) > max_width && !line.empty()) {
        lines.push_back(std::move(line));
        line.clear();
        continue;
      }
      line = std::move(next);
      j += n;
    }
  }
  lines.push_back(trim_right(std::move(line)));
}

}  // namespace

std::vector<std::string> wrap_text(std::string_view text, int max_width,
                                   const std::function<int(std::string_view)>& measure) {
  std::string clean;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\t')
      clean += "    ";
    else
      clean += c;
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t end = clean.find('\n', start);
    std::string_view para = std::string_view(clean).substr(
        start, end == std::string::npos ? std::string::npos : end - start);
    wrap_paragraph(para, max_width, measure, lines);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

int measure_in_pieces(std::string_view text, size_t piece_bytes,
                      const std::function<int(std::string_view)>& measure_piece) {
  piece_bytes = std::max<size_t>(piece_bytes, 4);  // room for the longest character
  long long total = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = std::min(text.size(), i + piece_bytes);
    // Back to a character boundary, so no character is measured in two halves.
    while (end < text.size() && end > i + 1 &&
           (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
      --end;
    total += measure_piece(text.substr(i, end - i));
    i = end;
  }
  return static_cast<int>(std::clamp<long long>(total, 0, INT32_MAX));
}

std::vector<std::string> cut_lines(std::vector<std::string> lines, size_t max_lines, int max_width,
                                   const std::function<int(std::string_view)>& measure) {
  max_lines = std::max<size_t>(max_lines, 1);
  if (lines.size() <= max_lines) return lines;
  lines.resize(max_lines);
  static constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
  std::string& last = lines.back();
  while (!last.empty() && measure(last + std::string(kEllipsis)) > max_width) {
    size_t cut = last.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(last[cut]) & 0xC0) == 0x80) --cut;
    last.resize(cut);
  }
  last = trim_right(std::move(last)) + std::string(kEllipsis);
  return lines;
}

std::vector<BoxButton> box_buttons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, "OK", 'o', "OK"}, {IDCANCEL, "Cancel", 'c', "Cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, "Abort", 'a', "&Abort"},
              {IDRETRY, "Retry", 'r', "&Retry"},
              {IDIGNORE, "Ignore", 'i', "&Ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, "Yes", 'y', "&Yes"},
              {IDNO, "No", 'n', "&No"},
              {IDCANCEL, "Cancel", 'c', "Cancel"}};
    case MB_YESNO:
      return {{IDYES, "Yes", 'y', "&Yes"}, {IDNO, "No", 'n', "&No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, "Retry", 'r', "&Retry"}, {IDCANCEL, "Cancel", 'c', "Cancel"}};
    case MB_CANCELTRYCONTINUE:
      return {{IDCANCEL, "Cancel", 'c', "Cancel"},
              {IDTRYAGAIN, "Try Again", 't', "&Try Again"},
              {IDCONTINUE, "Continue", 'o', "&Continue"}};
    default:
      return {{IDOK, "OK", 'o', "OK"}};
  }
}

size_t box_default_button(UINT type) {
  size_t count = box_buttons(type).size();
  size_t wanted = (type & MB_DEFMASK) == MB_DEFBUTTON2   ? 1
                  : (type & MB_DEFMASK) == MB_DEFBUTTON3 ? 2
                                                         : 0;
  return wanted < count ? wanted : 0;
}

int box_escape_result(UINT type) {
  std::vector<BoxButton> buttons = box_buttons(type);
  for (const BoxButton& b : buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  return buttons.size() == 1 && buttons[0].id == IDOK ? IDOK : 0;
}

int box_button_for_key(UINT type, char letter) {
  char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  std::vector<BoxButton> buttons = box_buttons(type);
  for (size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i].key == lower) return static_cast<int>(i);
  return -1;
}

}  // namespace plat
