// Common controls: the status bar.
#pragma once

#include "base.h"
#include "user_window.h"

#define STATUSCLASSNAMEA "msctls_statusbar32"

#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)
#define SB_GETPARTS (WM_USER + 6)
#define SB_SETTEXT SB_SETTEXTA
#define SB_GETTEXT SB_GETTEXTA

// Drawing kinds in the high byte of SB_SETTEXTA's wParam (kept and reported back, drawn alike).
#define SBT_NOBORDERS 0x0100
#define SBT_POPOUT 0x0200
#define SBT_RTLREADING 0x0400

#define SBARS_SIZEGRIP 0x0100

ZELVO_PLATFORM_API void InitCommonControls(void);

// A status bar: a child window of `parent` along the bottom of its client area, full width, showing
// `text` (8-bit Windows-1252) in its one part. SB_SETPARTS (wParam = count, lParam = PtrToLParam of
// an int array of right edges in client coordinates, -1 reaching the right end) splits it into
// parts, SB_SETTEXTA (LOBYTE(wParam) = part, lParam = PtrToLParam of the text) sets a part's text,
// SB_GETPARTS and SB_GETTEXTA / SB_GETTEXTLENGTHA read them back. On WM_SIZE it moves back to the
// bottom of its parent, so a parent passes its own WM_SIZE on to keep it there.
ZELVO_PLATFORM_API HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id);
#define CreateStatusWindow CreateStatusWindowA
