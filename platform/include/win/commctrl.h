/// @file
/// Common controls: the status bar, the only one offered. Programs include it as `<commctrl.h>`.
#pragma once

#include "base.h"
#include "user_window.h"

/// The status bar's window class, registered by InitCommonControls or CreateStatusWindowA.
#define STATUSCLASSNAMEA "msctls_statusbar32"

/// @name Status bar messages
/// The Windows values; see CreateStatusWindowA for their parameters.
///@{

/// A status bar message.
#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)
#define SB_GETPARTS (WM_USER + 6)
#define SB_SETTEXT SB_SETTEXTA
#define SB_GETTEXT SB_GETTEXTA
///@}

/// @name Status bar text kinds
/// Drawing kinds in the high byte of SB_SETTEXTA's wParam: kept and reported back by SB_GETTEXTA,
/// but all drawn alike here.
///@{

/// A drawing kind of a status bar part.
#define SBT_NOBORDERS 0x0100
#define SBT_POPOUT 0x0200
#define SBT_RTLREADING 0x0400
///@}

/// Status bar style: a sizing grip on Windows; accepted and not drawn here.
#define SBARS_SIZEGRIP 0x0100

/// Registers the status bar's window class (the only common control offered here).
ZELVO_PLATFORM_API void InitCommonControls(void);

/// A status bar: a child window of `parent` (WS_CHILD is added to `style`) along the bottom of its
/// client area, full width, showing `text` (8-bit Windows-1252) in its one part; `id` is its
/// control identifier. 0 when `parent` is not a window. SB_SETPARTS (wParam = count, 1..256,
/// lParam = PtrToLParam of an int array of right edges in client coordinates, -1 reaching the right
/// end) splits it into parts, SB_SETTEXTA (LOBYTE(wParam) = part, lParam = PtrToLParam of the text)
/// sets a part's text, SB_GETPARTS and SB_GETTEXTA / SB_GETTEXTLENGTHA read them back. On WM_SIZE
/// it moves back to the bottom of its parent, so a parent passes its own WM_SIZE on to keep it
/// there. Pointers travel as PtrToLParam tokens, where Windows passes them directly.
ZELVO_PLATFORM_API HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id);
/// The ANSI name, as Windows headers map it.
#define CreateStatusWindow CreateStatusWindowA
