#include "x_key_text.h"

#include <X11/Xutil.h>
#include <xkbcommon/xkbcommon.h>

namespace plat {

// What the key types on its own: XLookupString's text with the event's state (so Ctrl's control
// characters too), which is Latin-1; a character beyond Latin-1, which it cannot spell, from the
// keysym.
XKeyText x_key_text(XKeyEvent& event) {
  XKeyText text;
  char buffer[16];
  int n = XLookupString(&event, buffer, sizeof buffer, &text.keysym, nullptr);
  if (n > 0) {
    // Latin-1 is Unicode's first 256 code points; the C1 controls, which no key types, are left
    // out.
    for (int i = 0; i < n; ++i) {
      auto c = static_cast<unsigned char>(buffer[i]);
      if (c < 0x80) {
        text.utf8 += static_cast<char>(c);
      } else if (c >= 0xA0) {
        text.utf8 += static_cast<char>(0xC0 | (c >> 6));
        text.utf8 += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return text;
  }
  char utf8[8];
  int length = xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(text.keysym), utf8, sizeof utf8);
  if (length > 1) text.utf8.assign(utf8, static_cast<size_t>(length - 1));
  return text;
}

}  // namespace plat
