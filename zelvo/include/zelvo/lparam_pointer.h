// Messages whose LPARAM carries an address (SB_SETPARTS, SB_GETTEXTA, WM_CREATE's creation data).
// On Windows LPARAM is as wide as a pointer and carries the address itself; the Linux layer's
// LPARAM is 32 bits wide and carries a token, with these two functions declared by its <windows.h>.
#pragma once

#include <windows.h>

#ifdef _WIN32
inline LPARAM PtrToLParam(const void* pointer) { return reinterpret_cast<LPARAM>(pointer); }
inline void* LParamToPtr(LPARAM value) { return reinterpret_cast<void*>(value); }
#endif
