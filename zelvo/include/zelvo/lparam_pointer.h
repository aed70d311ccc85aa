/// @file
/// Messages whose LPARAM carries an address (SB_SETPARTS, SB_GETTEXTA, WM_CREATE's creation data).
/// On Windows LPARAM is as wide as a pointer and carries the address itself; the Linux layer's
/// LPARAM is 32 bits wide and carries a token, with these two functions declared by its
/// `<windows.h>` (see PtrToLParam there). This header gives Windows builds the same two names.
#pragma once

#include <windows.h>

#ifdef _WIN32
/// The address itself, as an LPARAM (Windows builds).
inline LPARAM PtrToLParam(const void* pointer) { return reinterpret_cast<LPARAM>(pointer); }
/// The address an LPARAM carries (Windows builds).
inline void* LParamToPtr(LPARAM value) { return reinterpret_cast<void*>(value); }
#endif
