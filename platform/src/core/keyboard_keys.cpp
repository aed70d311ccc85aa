// Keysyms to virtual-key codes and keycodes to scan codes. Every backend of ours speaks xkb keysyms
// and keycodes (X11's are xkb's, and so are Wayland's), so the table is kept here once.
#include "keyboard_keys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace plat {
namespace {

// Virtual keys for keysyms outside the letter, digit and function-key ranges.
struct KeyName {
  uint32_t keysym;
  UINT vk;
};
constexpr KeyName kNamedKeys[] = {
    {XKB_KEY_BackSpace, VK_BACK},
    {XKB_KEY_Tab, VK_TAB},
    {XKB_KEY_ISO_Left_Tab, VK_TAB},
    {XKB_KEY_Return, VK_RETURN},
    {XKB_KEY_Escape, VK_ESCAPE},
    {XKB_KEY_space, VK_SPACE},
    {XKB_KEY_Prior, VK_PRIOR},
    {XKB_KEY_Next, VK_NEXT},
    {XKB_KEY_End, VK_END},
    {XKB_KEY_Home, VK_HOME},
    {XKB_KEY_Left, VK_LEFT},
    {XKB_KEY_Up, VK_UP},
    {XKB_KEY_Right, VK_RIGHT},
    {XKB_KEY_Down, VK_DOWN},
    {XKB_KEY_Insert, VK_INSERT},
    {XKB_KEY_Delete, VK_DELETE},
    {XKB_KEY_Pause, VK_PAUSE},
    {XKB_KEY_Print, VK_SNAPSHOT},
    {XKB_KEY_Shift_L, VK_SHIFT},
    {XKB_KEY_Shift_R, VK_SHIFT},
    {XKB_KEY_Control_L, VK_CONTROL},
    {XKB_KEY_Control_R, VK_CONTROL},
    {XKB_KEY_Alt_L, VK_MENU},
    {XKB_KEY_Alt_R, VK_MENU},
    {XKB_KEY_Meta_L, VK_MENU},
    {XKB_KEY_Meta_R, VK_MENU},
    {XKB_KEY_ISO_Level3_Shift, VK_MENU},
    {XKB_KEY_Super_L, VK_LWIN},
    {XKB_KEY_Super_R, VK_RWIN},
    {XKB_KEY_Menu, VK_APPS},
    {XKB_KEY_Caps_Lock, VK_CAPITAL},
    {XKB_KEY_Num_Lock, VK_NUMLOCK},
    {XKB_KEY_Scroll_Lock, VK_SCROLL},
    {XKB_KEY_KP_Multiply, VK_MULTIPLY},
    {XKB_KEY_KP_Add, VK_ADD},
    {XKB_KEY_KP_Separator, VK_SEPARATOR},
    {XKB_KEY_KP_Subtract, VK_SUBTRACT},
    {XKB_KEY_KP_Decimal, VK_DECIMAL},
    {XKB_KEY_KP_Divide, VK_DIVIDE},
    {XKB_KEY_KP_Enter, VK_RETURN},
    {XKB_KEY_KP_Home, VK_HOME},
    {XKB_KEY_KP_End, VK_END},
    {XKB_KEY_KP_Prior, VK_PRIOR},
    {XKB_KEY_KP_Next, VK_NEXT},
    {XKB_KEY_KP_Left, VK_LEFT},
    {XKB_KEY_KP_Up, VK_UP},
    {XKB_KEY_KP_Right, VK_RIGHT},
    {XKB_KEY_KP_Down, VK_DOWN},
    {XKB_KEY_KP_Insert, VK_INSERT},
    {XKB_KEY_KP_Delete, VK_DELETE},
    {XKB_KEY_KP_Begin, VK_CLEAR},
    {XKB_KEY_KP_Space, VK_SPACE},
    {XKB_KEY_KP_Tab, VK_TAB},
    {XKB_KEY_semicolon, VK_OEM_1},
    {XKB_KEY_equal, VK_OEM_PLUS},
    {XKB_KEY_comma, VK_OEM_COMMA},
    {XKB_KEY_minus, VK_OEM_MINUS},
    {XKB_KEY_period, VK_OEM_PERIOD},
    {XKB_KEY_slash, VK_OEM_2},
    {XKB_KEY_grave, VK_OEM_3},
    {XKB_KEY_bracketleft, VK_OEM_4},
    {XKB_KEY_backslash, VK_OEM_5},
    {XKB_KEY_bracketright, VK_OEM_6},
    {XKB_KEY_apostrophe, VK_OEM_7},
    {XKB_KEY_less, VK_OEM_102},
};

// Keys whose scan code differs from the X keycode - 8 (the kernel's key number equals the classic
// scan code for the main block), and those that carry the extended-key flag.
struct ScanName {
  unsigned key;   // kernel key number
  unsigned scan;  // scan code with the extended flag in bit 8
};
constexpr unsigned kExtended = 0x100;
constexpr ScanName kExtendedScans[] = {
    {96, 0x1C | kExtended},  {97, 0x1D | kExtended},
    {98, 0x35 | kExtended},  {99, 0x37 | kExtended},
    {100, 0x38 | kExtended}, {102, 0x47 | kExtended},
    {103, 0x48 | kExtended}, {104, 0x49 | kExtended},
    {105, 0x4B | kExtended}, {106, 0x4D | kExtended},
    {107, 0x4F | kExtended}, {108, 0x50 | kExtended},
    {109, 0x51 | kExtended}, {110, 0x52 | kExtended},
    {111, 0x53 | kExtended}, {119, 0x45},
    {125, 0x5B | kExtended}, {126, 0x5C | kExtended},
    {127, 0x5D | kExtended},
};

// The keys of a US keyboard's character block, row by row from the scan code of the row's first
// key: 1 .. =, Q .. ], A .. ` and backslash, Z .. /.
struct PlaceRow {
  unsigned first;
  UINT keys[12];
};
constexpr PlaceRow kPlaceRows[] = {
    {0x02, {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS}},
    {0x10, {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', VK_OEM_4, VK_OEM_6}},
    {0x1E, {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', VK_OEM_1, VK_OEM_7, VK_OEM_3}},
    {0x2B, {VK_OEM_5, 'Z', 'X', 'C', 'V', 'B', 'N', 'M', VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2}},
};
// The key between left Shift and Z that keyboards other than the US one have.
constexpr unsigned kOem102Place = 0x56;
// What Windows' layouts give a scan code that they assign no key to.
constexpr UINT kNoKey = 0xFF;

}  // namespace

UINT keyboard_virtual_key(const KeyReport& key) {
  uint32_t ks = key.keysym;
  // With Num Lock on, the keypad types digits.
  if (ks >= XKB_KEY_KP_Space && ks <= XKB_KEY_KP_Delete && (key.state & kStateNumLock)) {
    uint32_t shifted = key.shifted_keysym;
    if (shifted >= XKB_KEY_KP_0 && shifted <= XKB_KEY_KP_9)
      return VK_NUMPAD0 + (shifted - XKB_KEY_KP_0);
    if (shifted == XKB_KEY_KP_Decimal) return VK_DECIMAL;
  }
  if (ks >= XKB_KEY_a && ks <= XKB_KEY_z) return 'A' + static_cast<UINT>(ks - XKB_KEY_a);
  if (ks >= XKB_KEY_A && ks <= XKB_KEY_Z) return 'A' + static_cast<UINT>(ks - XKB_KEY_A);
  if (ks >= XKB_KEY_0 && ks <= XKB_KEY_9) return '0' + static_cast<UINT>(ks - XKB_KEY_0);
  if (ks >= XKB_KEY_F1 && ks <= XKB_KEY_F24) return VK_F1 + static_cast<UINT>(ks - XKB_KEY_F1);
  if (ks >= XKB_KEY_KP_0 && ks <= XKB_KEY_KP_9)
    return VK_NUMPAD0 + static_cast<UINT>(ks - XKB_KEY_KP_0);
  for (const KeyName& k : kNamedKeys)
    if (k.keysym == ks) return k.vk;
  return keyboard_place_key(keyboard_scan_code(key.keycode));
}

UINT keyboard_place_key(unsigned scan) {
  if (scan == kOem102Place) return VK_OEM_102;
  for (const PlaceRow& row : kPlaceRows)
    if (scan >= row.first && scan - row.first < 12 && row.keys[scan - row.first])
      return row.keys[scan - row.first];
  return kNoKey;
}

unsigned keyboard_scan_code(unsigned keycode) {
  if (keycode < 8) return 0;
  unsigned key = keycode - 8;
  for (const ScanName& s : kExtendedScans)
    if (s.key == key) return s.scan;
  return key < 0x59 ? key : 0;
}

}  // namespace plat
