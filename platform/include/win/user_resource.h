/// @file
/// System cursors and icons, and cursor and icon files.
#pragma once

#include "base.h"

/// @name System cursors (LoadCursorA)
/// The Windows identifiers, shown with the nearest X cursor-font shape (IDC_SIZE and IDC_SIZEALL
/// alike, IDC_WAIT and IDC_APPSTARTING alike).
///@{

/// A system cursor identifier.
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_UPARROW MAKEINTRESOURCEA(32516)
#define IDC_SIZE MAKEINTRESOURCEA(32640)
#define IDC_ICON MAKEINTRESOURCEA(32641)
#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_NO MAKEINTRESOURCEA(32648)
#define IDC_HAND MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)
#define IDC_HELP MAKEINTRESOURCEA(32651)
///@}

/// @name System icons (LoadIconA)
/// The Windows identifiers, drawn by the layer: IDI_WINLOGO looks like IDI_APPLICATION and
/// IDI_SHIELD like IDI_EXCLAMATION.
///@{

/// A system icon identifier.
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_HAND MAKEINTRESOURCEA(32513)
#define IDI_QUESTION MAKEINTRESOURCEA(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEA(32515)
#define IDI_ASTERISK MAKEINTRESOURCEA(32516)
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDI_SHIELD MAKEINTRESOURCEA(32518)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK
///@}

/// A system cursor (instance 0 and an IDC_* identifier). The handle is shared and lives for the
/// whole run; the same identifier always gives the same handle. 0 for an unknown identifier, and,
/// unlike Windows, for named or module resources, which this platform's programs do not carry.
ZELVO_PLATFORM_API HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
/// The ANSI name, as Windows headers map it.
#define LoadCursor LoadCursorA

/// A system icon (instance 0 and an IDI_* identifier), 32 x 32, shared like the system cursors; 0
/// for anything else (no module resources, as for LoadCursorA).
ZELVO_PLATFORM_API HICON LoadIconA(HINSTANCE instance, LPCSTR name);
/// The ANSI name, as Windows headers map it.
#define LoadIcon LoadIconA

/// A cursor from a .cur or .ico file (an icon file gives a cursor with its hot spot in the middle;
/// animated .ani files are not read). 0 when the file is missing, larger than 4 MiB, truncated,
/// malformed, or holds only PNG-compressed images, with the reason for GetLastError; the name is
/// looked up without regard to case when it does not exist as given. Destroy it with DestroyCursor.
ZELVO_PLATFORM_API HCURSOR LoadCursorFromFileA(LPCSTR file_name);
/// The ANSI name, as Windows headers map it.
#define LoadCursorFromFile LoadCursorFromFileA

/// Destroys a cursor loaded from a file. System cursors and icons stay (TRUE); a stale handle gives
/// FALSE.
ZELVO_PLATFORM_API BOOL DestroyCursor(HCURSOR cursor);
/// Destroys an icon; the same rules as DestroyCursor (cursors and icons are one kind of object).
ZELVO_PLATFORM_API BOOL DestroyIcon(HICON icon);
