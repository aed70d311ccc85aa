// The code page of the layer's 8-bit text (window titles, message boxes, status bars):
// Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// 8-bit Windows-1252 text as UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same value, as Windows' conversion does.
std::string cp1252_to_utf8(std::string_view text);

}  // namespace plat
