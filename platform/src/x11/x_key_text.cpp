#include "x_key_text.h"

#include <X11/Xutil.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <string>
#include <utility>

#include "text_cp1252.h"

namespace plat {
namespace {

// What the key types on its own: XLookupString's text with the event's state (so Ctrl's control
// characters too), which is Latin-1; a character beyond Latin-1, which it cannot spell, from the
// keysym.
std::string own_text(XKeyEvent& event, KeySym& keysym) {
  char buffer[16];
  int n = XLookupString(&event, buffer, sizeof buffer, &keysym, nullptr);
  // Latin-1 is Windows-1252 but for the C1 controls, which no key types.
  std::string latin1;
  for (int i = 0; i < n; ++i)
    if (static_cast<unsigned char>(buffer[i]) < 0x80 ||
        static_cast<unsigned char>(buffer[i]) >= 0xA0)
      latin1 += buffer[i];
  if (n > 0) return cp1252_to_utf8(latin1);
  char utf8[8];
  int length = xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(keysym), utf8, sizeof utf8);
  return length > 1 ? std::string(utf8, static_cast<size_t>(length - 1)) : std::string();
}

}  // namespace

KeyPressText x_key_press_text(Display*, WindowObject*, XKeyEvent& event) {
  KeyPressText text;
  std::string own = own_text(event, text.keysym);
  ComposedKey key = keyboard_compose_press(static_cast<uint32_t>(text.keysym), own);
  text.utf8 = std::move(key.utf8);
  text.keysym = key.keysym;
  return text;
}

}  // namespace plat
