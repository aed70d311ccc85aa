// Reported keys into virtual-key codes and scan codes, for the core's key reports.
#pragma once

#include <windows.h>

#include "backend_reports.h"

namespace plat {

// The virtual-key code of a reported key. A keysym without a code of its own takes the code of the
// key's place on a US keyboard (the OEM codes for the punctuation keys, as Windows' layouts give
// them by scan code); a key outside the character block with no code gets 0xFF, the code Windows'
// layouts give a scan code they do not assign.
UINT keyboard_virtual_key(const KeyReport& key);

// The code of the key in place `scan` (a scan code without the extended flag) of a US keyboard's
// character block: digits, letters, VK_OEM_*; 0xFF for any other place.
UINT keyboard_place_key(unsigned scan);

// Scan code of an xkb keycode in bits 0..7 and the extended-key flag in bit 8, as lParam carries
// them.
unsigned keyboard_scan_code(unsigned keycode);

}  // namespace plat
