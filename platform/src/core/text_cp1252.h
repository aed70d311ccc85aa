// The code page of the layer's 8-bit text (window titles, message boxes, status bars, typed
// characters): Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// 8-bit Windows-1252 text as UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same value, as Windows' conversion does.
std::string cp1252_to_utf8(std::string_view text);

// The Windows-1252 byte of a Unicode code point, or '?' for one the code page does not hold, as
// Windows gives an ANSI program such a character. The inverse of cp1252_to_utf8 byte for byte.
char cp1252_from_unicode(char32_t code_point);

// UTF-8 text as Windows-1252, one byte per character: '?' for each character outside the code
// page and for each byte of a malformed sequence (a stray continuation byte, a cut-off sequence,
// an overlong form, a surrogate, a value beyond U+10FFFF).
std::string utf8_to_cp1252(std::string_view text);

// One Windows-1252 character without regard to case, as Windows folds it: the lower-case letter of
// an upper-case one (A-Z, the Latin-1 letters 0xC0-0xDE but 0xD7, and the pairs 0x8A/0x9A,
// 0x8C/0x9C, 0x8E/0x9E, 0x9F/0xFF); every other byte as it is.
char cp1252_fold_case(char c);

}  // namespace plat
