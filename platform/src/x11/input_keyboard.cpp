// X keysyms to virtual-key codes and scan codes.
#include "input_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <array>
#include <deque>
#include <utility>

namespace plat {
namespace {

// Virtual keys for keysyms outside the letter, digit and function-key ranges.
struct KeyName {
  KeySym keysym;
  UINT vk;
};
constexpr KeyName kNamedKeys[] = {
    {XK_BackSpace, VK_BACK},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},
    {XK_Return, VK_RETURN},
    {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE},
    {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},
    {XK_End, VK_END},
    {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},
    {XK_Pause, VK_PAUSE},
    {XK_Print, VK_SNAPSHOT},
    {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},
    {XK_Alt_R, VK_MENU},
    {XK_Meta_L, VK_MENU},
    {XK_Meta_R, VK_MENU},
    {XK_ISO_Level3_Shift, VK_MENU},
    {XK_Super_L, VK_LWIN},
    {XK_Super_R, VK_RWIN},
    {XK_Menu, VK_APPS},
    {XK_Caps_Lock, VK_CAPITAL},
    {XK_Num_Lock, VK_NUMLOCK},
    {XK_Scroll_Lock, VK_SCROLL},
    {XK_KP_Multiply, VK_MULTIPLY},
    {XK_KP_Add, VK_ADD},
    {XK_KP_Separator, VK_SEPARATOR},
    {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE},
    {XK_KP_Enter, VK_RETURN},
    {XK_KP_Home, VK_HOME},
    {XK_KP_End, VK_END},
    {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},
    {XK_KP_Left, VK_LEFT},
    {XK_KP_Up, VK_UP},
    {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},
    {XK_KP_Insert, VK_INSERT},
    {XK_KP_Delete, VK_DELETE},
    {XK_KP_Begin, VK_CLEAR},
    {XK_KP_Space, VK_SPACE},
    {XK_KP_Tab, VK_TAB},
    {XK_semicolon, VK_OEM_1},
    {XK_equal, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},
    {XK_grave, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},
    {XK_bracketright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7},
    {XK_less, VK_OEM_102},
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

UINT keyboard_virtual_key(XKeyEvent* event) {
  KeySym ks = XLookupKeysym(event, 0);
  // With Num Lock on, the keypad types digits.
  if (ks >= XK_KP_Space && ks <= XK_KP_Delete && (event->state & Mod2Mask)) {
    KeySym shifted = XLookupKeysym(event, 1);
    if (shifted >= XK_KP_0 && shifted <= XK_KP_9) return VK_NUMPAD0 + (shifted - XK_KP_0);
    if (shifted == XK_KP_Decimal) return VK_DECIMAL;
  }
  if (ks >= XK_a && ks <= XK_z) return 'A' + static_cast<UINT>(ks - XK_a);
  if (ks >= XK_A && ks <= XK_Z) return 'A' + static_cast<UINT>(ks - XK_A);
  if (ks >= XK_0 && ks <= XK_9) return '0' + static_cast<UINT>(ks - XK_0);
  if (ks >= XK_F1 && ks <= XK_F24) return VK_F1 + static_cast<UINT>(ks - XK_F1);
  if (ks >= XK_KP_0 && ks <= XK_KP_9) return VK_NUMPAD0 + static_cast<UINT>(ks - XK_KP_0);
  for (const KeyName& k : kNamedKeys)
    if (k.keysym == ks) return k.vk;
  return keyboard_place_key(keyboard_scan_code(event->keycode));
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
