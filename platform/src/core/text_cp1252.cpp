#include "text_cp1252.h"

namespace plat {
namespace {

// Code points of the bytes 0x80..0x9F; every other byte is the Latin-1 code point of its value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes the sequence at text[i], advancing i past it; U+FFFD (outside the code page) for a
// malformed one, of which one byte is taken so that decoding resumes at the next byte.
char32_t next_code_point(std::string_view text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  constexpr char32_t kBad = 0xFFFD;
  unsigned char lead = byte(i);
  size_t length = 0;  // 0xC0, 0xC1 and 0xF5.. never lead a well-formed sequence
  if (lead < 0x80)
    length = 1;
  else if (lead >= 0xC2 && lead < 0xE0)
    length = 2;
  else if (lead >= 0xE0 && lead < 0xF0)
    length = 3;
  else if (lead >= 0xF0 && lead < 0xF5)
    length = 4;
  if (length == 0 || i + length > text.size()) {
    ++i;
    return length == 1 ? lead : kBad;
  }
  char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return kBad;
    }
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
    ++i;
    return kBad;
  }
  i += length;
  return c;
}

}  // namespace

std::string cp1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    append_utf8(out, c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c);
  }
  return out;
}

char cp1252_from_unicode(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point < 0x100))
    return static_cast<char>(code_point);
  for (unsigned k = 0; k < 32; ++k)
    if (kCp1252High[k] == code_point) return static_cast<char>(0x80 + k);
  return '?';
}

std::string utf8_to_cp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) out += cp1252_from_unicode(next_code_point(text, i));
  return out;
}

char cp1252_fold_case(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
    return static_cast<char>(c + 0x20);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<char>(c + 0x10);
  if (c == 0x9F) return '\xFF';
  return ch;
}

}  // namespace plat
