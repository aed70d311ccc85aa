/// @file
/// Windows, window classes, the message queue, input, capture and window properties.
///
/// Values and record layouts are the Windows ones; pointers inside records are native, so the
/// extended class record is larger than its 48-byte original (RegisterClassExA accepts both sizes).
/// A top-level window's X window is its client area: the window manager draws the real frame, and
/// the layer keeps nominal Windows frame metrics (a captioned window has a 3-pixel frame and a
/// 16-pixel caption, WS_BORDER alone 1 pixel) so that outer and client rectangles relate as on
/// Windows. Everything runs on one thread: there is one message queue.
#pragma once

#include "base.h"

/// @name Window messages
/// The Windows values. The layer itself sends or posts WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE,
/// WM_PAINT, WM_ERASEBKGND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY, WM_QUIT, the text messages, the
/// key, character and mouse-button messages (no double clicks), WM_MOUSEMOVE, WM_MOUSEWHEEL,
/// WM_SETFOCUS, WM_KILLFOCUS, WM_SYSCOMMAND and WM_CONTEXTMENU. The others are defined for programs
/// that post or handle them; the layer never generates them.
///@{

/// A window message identifier.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_GETMINMAXINFO 0x0024
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_SETCURSOR 0x0020
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCCALCSIZE 0x0083
#define WM_NCACTIVATE 0x0086
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_DEADCHAR 0x0103
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_SYSDEADCHAR 0x0107
#define WM_KEYLAST 0x0109
#define WM_COMMAND 0x0111
#define BN_CLICKED 0
#define BM_CLICK 0x00F5
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WM_MOUSELAST 0x020A
#define WM_PARENTNOTIFY 0x0210
#define WM_CAPTURECHANGED 0x0215
#define WM_CONTEXTMENU 0x007B
#define WM_USER 0x0400
#define WM_APP 0x8000
///@}

/// The wheel distance of one notch in WM_MOUSEWHEEL's high word of wParam.
#define WHEEL_DELTA 120

/// @name WM_ACTIVATE states
/// The low word of WM_ACTIVATE's wParam.
///@{

/// A WM_ACTIVATE state.
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2
///@}

/// @name WM_SIZE kinds
/// wParam of WM_SIZE: SIZE_RESTORED, or SIZE_MINIMIZED for a minimised window.
///@{

/// A WM_SIZE kind.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2
///@}

/// @name System commands
/// wParam of WM_SYSCOMMAND; the low four bits are the system's own. DefWindowProcA acts on
/// SC_CLOSE (sends WM_CLOSE), SC_MINIMIZE and SC_RESTORE and ignores the rest.
///@{

/// A system command.
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_RESTORE 0xF120
#define SC_SCREENSAVE 0xF140
#define SC_MONITORPOWER 0xF170
///@}

/// @name Window styles
/// The Windows values. The layer uses WS_CHILD, WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_BORDER and the
/// frame styles (for the nominal frame metrics); the others are kept and reported back. Styles are
/// fixed at creation here.
///@{

/// A window style bit or combination.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_SIZEBOX WS_THICKFRAME
#define WS_CHILDWINDOW WS_CHILD
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)
///@}

/// @name Extended window styles
/// The Windows values; kept and reported back by GetWindowLongA.
///@{

/// An extended window style bit.
#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_APPWINDOW 0x00040000L
///@}

/// @name Class styles
/// The Windows values; kept and reported back by GetClassInfoExA. Every window here already has
/// its own device contexts (CS_OWNDC changes nothing); double clicks are not generated.
///@{

/// A class style bit.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_SAVEBITS 0x0800
#define CS_GLOBALCLASS 0x4000
///@}

/// CreateWindowExA position or size chosen by the system: the origin, and for an overlapped window
/// a default size (pop-ups and children get 0 x 0).
#define CW_USEDEFAULT ((int)0x80000000)

/// @name ShowWindow commands
/// The Windows values. SW_HIDE hides; the minimising commands show and iconify a top-level window;
/// every other command shows the window (sizes are left alone: SW_MAXIMIZE does not maximise).
///@{

/// A ShowWindow command.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10
#define SW_FORCEMINIMIZE 11
///@}

/// @name WINDOWPOS flags
/// WINDOWPOS::flags of WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED: what the change leaves alone
/// or does.
///@{

/// A WINDOWPOS flag.
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOSENDCHANGING 0x0400
///@}

/// @name System metrics
/// The GetSystemMetrics indices; see there for the values offered.
///@{

/// A GetSystemMetrics index.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_MOUSEPRESENT 19
#define SM_SWAPBUTTON 23
#define SM_CXMIN 28
#define SM_CYMIN 29
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CMOUSEBUTTONS 43
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CXVIRTUALSCREEN 78
#define SM_CYVIRTUALSCREEN 79
#define SM_CMONITORS 80
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXSIZEFRAME SM_CXFRAME
#define SM_CYSIZEFRAME SM_CYFRAME
///@}

/// @name System colours
/// The GetSysColor and GetSysColorBrush indices, the Windows values.
///@{

/// A system colour index.
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DFACE COLOR_BTNFACE
///@}

/// @name Virtual-key codes
/// The Windows values, in wParam of the key messages and for GetKeyState. '0'..'9' and 'A'..'Z'
/// are their ASCII values. The OEM codes are those of a US keyboard layout.
///@{

/// A virtual-key code.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SELECT 0x29
#define VK_PRINT 0x2A
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_NUMPAD1 0x61
#define VK_NUMPAD2 0x62
#define VK_NUMPAD3 0x63
#define VK_NUMPAD4 0x64
#define VK_NUMPAD5 0x65
#define VK_NUMPAD6 0x66
#define VK_NUMPAD7 0x67
#define VK_NUMPAD8 0x68
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0
#define VK_OEM_4 0xDB
#define VK_OEM_5 0xDC
#define VK_OEM_6 0xDD
#define VK_OEM_7 0xDE
#define VK_OEM_102 0xE2
///@}

/// @name Mouse-message key flags
/// The buttons and modifier keys held, in wParam of the mouse messages.
///@{

/// A mouse-message key flag.
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
///@}

/// @name PeekMessageA options
/// PM_REMOVE takes the message off the queue; PM_NOYIELD changes nothing here.
///@{

/// A PeekMessageA option.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002
///@}

/// @name GetWindowLongA indices
/// The window values offered: style, extended style, control identifier and a user value.
///@{

/// A GetWindowLongA index.
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_ID (-12)
#define GWL_USERDATA (-21)
///@}

/// @name GetAncestor kinds
/// GA_PARENT the parent; GA_ROOT and GA_ROOTOWNER the top-level window (no owners here).
///@{

/// A GetAncestor kind.
#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3
///@}

/// PeekMessageA and GetMessageA filter: only messages posted to no window (Windows spells it
/// (HWND)-1).
#define HWND_MESSAGE_ONLY_THREAD \
  ((HWND)0xFFFFFFFFu)  // PeekMessage filter: messages without a window

/// A window class for RegisterClassA.
typedef struct tagWNDCLASSA {
  UINT style;            ///< CS_* flags; kept.
  WNDPROC lpfnWndProc;   ///< The class's window procedure.
  int cbClsExtra;        ///< Extra class bytes; not offered, ignored.
  int cbWndExtra;        ///< Extra window bytes; not offered, ignored.
  HINSTANCE hInstance;   ///< The module; 0 means the program's own.
  HICON hIcon;           ///< The icon shown for the window.
  HCURSOR hCursor;       ///< The cursor over the window.
  HBRUSH hbrBackground;  ///< Kept; the layer draws no backgrounds.
  LPCSTR lpszMenuName;   ///< Kept and reported back; no menus are shown.
  LPCSTR lpszClassName;  ///< The class name (case-insensitive).
} WNDCLASSA, *PWNDCLASSA, *LPWNDCLASSA;
/// @typedef PWNDCLASSA
/// Pointer to a WNDCLASSA.
/// @typedef LPWNDCLASSA
/// Pointer to a WNDCLASSA.

/// A window class for RegisterClassExA: WNDCLASSA with a size and a small icon.
typedef struct tagWNDCLASSEXA {
  UINT cbSize;           ///< sizeof(WNDCLASSEXA) or WNDCLASSEXA_LEGACY_SIZE.
  UINT style;            ///< CS_* flags; kept.
  WNDPROC lpfnWndProc;   ///< The class's window procedure.
  int cbClsExtra;        ///< Extra class bytes; not offered, ignored.
  int cbWndExtra;        ///< Extra window bytes; not offered, ignored.
  HINSTANCE hInstance;   ///< The module; 0 means the program's own.
  HICON hIcon;           ///< The icon shown for the window.
  HCURSOR hCursor;       ///< The cursor over the window.
  HBRUSH hbrBackground;  ///< Kept; the layer draws no backgrounds.
  LPCSTR lpszMenuName;   ///< Kept and reported back; no menus are shown.
  LPCSTR lpszClassName;  ///< The class name (case-insensitive).
  HICON hIconSm;         ///< The small icon; kept.
} WNDCLASSEXA, *PWNDCLASSEXA, *LPWNDCLASSEXA;
/// @typedef PWNDCLASSEXA
/// Pointer to a WNDCLASSEXA.
/// @typedef LPWNDCLASSEXA
/// Pointer to a WNDCLASSEXA.

/// The size a caller of the original 32-bit interface puts into cbSize.
#define WNDCLASSEXA_LEGACY_SIZE 48

/// The creation arguments, passed to WM_NCCREATE and WM_CREATE (lParam is a PtrToLParam token).
typedef struct tagCREATESTRUCTA {
  LPVOID lpCreateParams;  ///< The last argument of CreateWindowExA.
  HINSTANCE hInstance;    ///< The module.
  HMENU hMenu;            ///< The menu, or a child's control identifier.
  HWND hwndParent;        ///< The parent.
  int cy;                 ///< Height.
  int cx;                 ///< Width.
  int y;                  ///< Top.
  int x;                  ///< Left.
  LONG style;             ///< WS_* styles.
  LPCSTR lpszName;        ///< The window name.
  LPCSTR lpszClass;       ///< The class name.
  DWORD dwExStyle;        ///< WS_EX_* styles.
} CREATESTRUCTA, *LPCREATESTRUCTA;
/// @typedef LPCREATESTRUCTA
/// Pointer to a CREATESTRUCTA.

/// A window's new place, size and z-order, passed with WM_WINDOWPOSCHANGING (which may change it)
/// and WM_WINDOWPOSCHANGED (lParam is a PtrToLParam token).
typedef struct tagWINDOWPOS {
  HWND hwnd;             ///< The window.
  HWND hwndInsertAfter;  ///< The window it goes behind; not used by the layer.
  int x;                 ///< Left of the outer rectangle (parent's client coordinates for a child).
  int y;                 ///< Top.
  int cx;                ///< Outer width.
  int cy;                ///< Outer height.
  UINT flags;            ///< SWP_* flags.
} WINDOWPOS, *PWINDOWPOS, *LPWINDOWPOS;
/// @typedef PWINDOWPOS
/// Pointer to a WINDOWPOS.
/// @typedef LPWINDOWPOS
/// Pointer to a WINDOWPOS.

/// The size limits a window procedure may set in WM_GETMINMAXINFO; the layer's defaults limit
/// nothing.
typedef struct tagMINMAXINFO {
  POINT ptReserved;      ///< Reserved.
  POINT ptMaxSize;       ///< The maximised size.
  POINT ptMaxPosition;   ///< The maximised position.
  POINT ptMinTrackSize;  ///< The smallest outer size; applied.
  POINT ptMaxTrackSize;  ///< The largest outer size; applied.
} MINMAXINFO, *PMINMAXINFO, *LPMINMAXINFO;
/// @typedef PMINMAXINFO
/// Pointer to a MINMAXINFO.
/// @typedef LPMINMAXINFO
/// Pointer to a MINMAXINFO.

/// What WM_NCCALCSIZE with wParam TRUE works on: the new, old and client rectangles.
typedef struct tagNCCALCSIZE_PARAMS {
  RECT rgrc[3];      ///< New outer rectangle in, new client rectangle out; then the old ones.
  PWINDOWPOS lppos;  ///< The change being made.
} NCCALCSIZE_PARAMS, *LPNCCALCSIZE_PARAMS;
/// @typedef LPNCCALCSIZE_PARAMS
/// Pointer to a NCCALCSIZE_PARAMS.

/// A queued message.
typedef struct tagMSG {
  HWND hwnd;      ///< The window; 0 for a thread message such as WM_QUIT.
  UINT message;   ///< The message identifier.
  WPARAM wParam;  ///< First parameter.
  LPARAM lParam;  ///< Second parameter.
  DWORD time;     ///< GetTickCount when it was queued.
  POINT pt;       ///< The cursor in screen coordinates when it was queued.
} MSG, *PMSG, *LPMSG;
/// @typedef PMSG
/// Pointer to a MSG.
/// @typedef LPMSG
/// Pointer to a MSG.

/// What BeginPaint hands the painter.
typedef struct tagPAINTSTRUCT {
  HDC hdc;               ///< The window's device context for this paint.
  BOOL fErase;           ///< TRUE when the background still has to be drawn.
  RECT rcPaint;          ///< The bounding rectangle of the update region.
  BOOL fRestore;         ///< Reserved.
  BOOL fIncUpdate;       ///< Reserved.
  BYTE rgbReserved[32];  ///< Reserved.
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;
/// @typedef PPAINTSTRUCT
/// Pointer to a PAINTSTRUCT.
/// @typedef LPPAINTSTRUCT
/// Pointer to a PAINTSTRUCT.

/// A class name made of a class atom (the result of RegisterClassA).
#define MAKEINTATOM(i) ((LPCSTR)(uintptr_t)((WORD)(i)))

// ---- Window classes ----
/// Registers a window class under its name (case-insensitive, as on Windows) and returns its atom;
/// 0 when the record or its procedure is null, the name is empty or already registered. The extra
/// class and window bytes are not offered.
ZELVO_PLATFORM_API ATOM RegisterClassA(const WNDCLASSA* wc);
/// RegisterClassA of the extended record; 0 also when cbSize is neither sizeof(WNDCLASSEXA) nor
/// WNDCLASSEXA_LEGACY_SIZE.
ZELVO_PLATFORM_API ATOM RegisterClassExA(const WNDCLASSEXA* wc);
/// Fills `wc` (cbSize left as the caller set it) with a registered class of module `instance`,
/// or a global class (CS_GLOBALCLASS, the layer's own controls); returns the class's atom
/// (non-zero), or FALSE when there is none. With `instance` 0 only global classes are found, as on
/// Windows; hInstance is reported as asked.
ZELVO_PLATFORM_API BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR class_name, LPWNDCLASSEXA wc);
/// Removes a class of module `instance` (or a global class); FALSE when there is none or windows
/// of it still exist.
ZELVO_PLATFORM_API BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE instance);

/// Creates a window of a registered class: a top-level X window (a pop-up or an overlapped window
/// framed by the window manager) or, with WS_CHILD, a child of `parent` (`menu` is then its
/// control identifier). The sizes are outer sizes; the client area is smaller by the nominal frame.
/// Sends the creation sequence Windows sends (WM_GETMINMAXINFO for an overlapped or sizable window,
/// WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, with PtrToLParam tokens of their records; WM_SIZE and
/// WM_MOVE at once for a child or a pop-up, at its first show for an overlapped window;
/// WM_PARENTNOTIFY to the parent of a child), then shows it when WS_VISIBLE. 0 when the class is
/// unknown, a child has no parent, no display can be opened, or WM_NCCREATE returns FALSE or
/// WM_CREATE -1. No menus: `menu` is only an identifier.
ZELVO_PLATFORM_API HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name,
                                        DWORD style, int x, int y, int width, int height,
                                        HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
/// CreateWindowExA without extended styles, as Windows headers define it.
#define CreateWindowA(c, n, s, x, y, w, h, p, m, i, a) \
  CreateWindowExA(0, c, n, s, x, y, w, h, p, m, i, a)
/// Destroys a window and its children: WM_DESTROY to the window and then its children,
/// WM_NCDESTROY from the children up, and every handle of the tree becomes stale. FALSE for a stale
/// handle or a window already being destroyed. Posts no WM_QUIT; a program does that itself.
ZELVO_PLATFORM_API BOOL DestroyWindow(HWND window);
/// Whether the handle names a live window.
ZELVO_PLATFORM_API BOOL IsWindow(HWND window);
/// Whether the window and all its parents are shown.
ZELVO_PLATFORM_API BOOL IsWindowVisible(HWND window);
/// Whether the window is minimised.
ZELVO_PLATFORM_API BOOL IsIconic(HWND window);
/// Shows or hides a window (see the ShowWindow commands) and returns whether it was visible
/// before. Showing a top-level window activates it and gives it the focus before the call returns,
/// except with the no-activate commands (SW_SHOWNOACTIVATE, SW_SHOWNA, SW_SHOWMINNOACTIVE);
/// showing asks for a WM_PAINT.
ZELVO_PLATFORM_API BOOL ShowWindow(HWND window, int command);
/// Sends WM_PAINT at once to the window and its children that wait for painting; FALSE for a
/// stale handle.
ZELVO_PLATFORM_API BOOL UpdateWindow(HWND window);
/// The default processing of a message a window procedure leaves alone: WM_CLOSE destroys the
/// window; WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE; Alt+F4 (WM_SYSKEYDOWN) sends SC_CLOSE to the
/// top-level window; a right-button release sends WM_CONTEXTMENU, which a child passes to its
/// parent; WM_PAINT validates; WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH keep the title;
/// WM_NCCREATE returns TRUE. Everything else returns 0, WM_ERASEBKGND included (no backgrounds are
/// drawn).
ZELVO_PLATFORM_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
/// The parent of a child window; 0 for a top-level window or a stale handle (no owners here).
ZELVO_PLATFORM_API HWND GetParent(HWND window);
/// The parent (GA_PARENT) or the top-level window (GA_ROOT, GA_ROOTOWNER); 0 for a stale handle.
ZELVO_PLATFORM_API HWND GetAncestor(HWND window, UINT flags);
/// A child window's control identifier; 0 for a top-level window or a stale handle.
ZELVO_PLATFORM_API int GetDlgCtrlID(HWND window);
/// A window value: GWL_STYLE, GWL_EXSTYLE, GWL_ID or GWL_USERDATA; 0 for other indices (no
/// extra window bytes, no GWL_WNDPROC) and stale handles.
ZELVO_PLATFORM_API LONG GetWindowLongA(HWND window, int index);
/// Sets GWL_ID or GWL_USERDATA and returns the previous value. Unlike Windows, styles cannot be
/// changed after creation: other indices return 0 and change nothing.
ZELVO_PLATFORM_API LONG SetWindowLongA(HWND window, int index, LONG value);
/// Sets the window's title (8-bit Windows-1252 text; null is the empty title) by sending
/// WM_SETTEXT, so the procedure sees it; top-level titles appear in the window manager's frame.
ZELVO_PLATFORM_API BOOL SetWindowTextA(HWND window, LPCSTR text);
/// Copies the title, zero-terminated and cut to `size` - 1 characters, through WM_GETTEXT; returns
/// the characters copied, 0 for a stale handle or no buffer.
ZELVO_PLATFORM_API int GetWindowTextA(HWND window, LPSTR buffer, int size);
/// The title's length in characters (WM_GETTEXTLENGTH); 0 for a stale handle.
ZELVO_PLATFORM_API int GetWindowTextLengthA(HWND window);
/// The newest top-level window of the class (name or atom) with the title, compared without regard
/// to case; NULL matches any class or any title; 0 when none matches. A shown message box is found
/// as class "#32770", from any thread.
ZELVO_PLATFORM_API HWND FindWindowA(LPCSTR class_name, LPCSTR title);
/// Copies the title of the dialog's child window with the control id (a message box's text is its
/// control 0xFFFF), zero-terminated and cut to `size` - 1 characters; returns the characters
/// copied, 0 when there is no such control.
ZELVO_PLATFORM_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
/// The dialog's child window with the control id (a message box's buttons have the ids of their
/// answers, its text 0xFFFF); 0 when there is none.
ZELVO_PLATFORM_API HWND GetDlgItem(HWND dialog, int id);
/// The next window of the class (name or atom) with the title, compared without regard to case
/// (NULL matches any): among the children of `parent` in creation order, or among the top-level
/// windows, newest first, for parent 0; the search starts after the child `after` (0: at the
/// first). A shown message box's children are found from any thread. 0 when none matches.
ZELVO_PLATFORM_API HWND FindWindowExA(HWND parent, HWND after, LPCSTR class_name, LPCSTR title);

/// The window's outer rectangle in screen coordinates: the client area grown by the nominal frame
/// metrics (not the window manager's real frame).
ZELVO_PLATFORM_API BOOL GetWindowRect(HWND window, LPRECT rect);
/// The client area: (0, 0) to its width and height.
ZELVO_PLATFORM_API BOOL GetClientRect(HWND window, LPRECT rect);
/// Moves and resizes the window to the outer rectangle given (in the parent's client coordinates
/// for a child, on the screen for a top-level window), sending WM_MOVE and WM_SIZE at once when
/// they change; `repaint` asks for a WM_PAINT. A window manager may still place a top-level window
/// elsewhere.
ZELVO_PLATFORM_API BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
/// Converts a point from the window's client coordinates to screen coordinates.
ZELVO_PLATFORM_API BOOL ClientToScreen(HWND window, LPPOINT point);
/// Converts a point from screen coordinates to the window's client coordinates.
ZELVO_PLATFORM_API BOOL ScreenToClient(HWND window, LPPOINT point);
/// Grows a client rectangle to the outer rectangle of a window of `style`, by the nominal frame
/// metrics; `menu` is ignored (no menus).
ZELVO_PLATFORM_API BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
/// A system metric: the screen size (SM_CXSCREEN, ...; SM_CYFULLSCREEN less a caption), the
/// nominal frame metrics, 32-pixel icons and cursors, 16-pixel small icons, the double-click
/// distance (4), three mouse buttons, one monitor. 0 for the indices not listed, and for the
/// screen when no display can be opened.
ZELVO_PLATFORM_API int GetSystemMetrics(int index);

/// Starts painting in answer to WM_PAINT: validates the window, sends WM_ERASEBKGND when asked
/// for, fills `paint` and returns its device context (0 for a stale window). End with EndPaint.
ZELVO_PLATFORM_API HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
/// Ends painting: releases the device context BeginPaint gave.
ZELVO_PLATFORM_API BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
/// Adds a rectangle (null: the whole client area) to the window's update region, so that a
/// WM_PAINT follows; window 0 invalidates every top-level window. The region is kept as its
/// bounding rectangle.
ZELVO_PLATFORM_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
/// Removes a rectangle from the update region; as the region is kept as its bounding rectangle,
/// only a rectangle that covers it (or null) empties it.
ZELVO_PLATFORM_API BOOL ValidateRect(HWND window, const RECT* rect);
/// The bounding rectangle of the update region into `rect` (may be null); TRUE when the window
/// waits for painting. With `erase`, sends WM_ERASEBKGND first when the background is due.
ZELVO_PLATFORM_API BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);

/// Takes the next message (for `window` or its descendants, 0 for any; from `filter_min` to
/// `filter_max`, 0 and 0 for all) without waiting: turns the X events already arrived into
/// messages, then looks at the queue in Windows' order (posted messages, WM_QUIT, input,
/// WM_PAINT). Removes it with PM_REMOVE. FALSE when there is none.
ZELVO_PLATFORM_API BOOL PeekMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max,
                                     UINT remove);
/// Like PeekMessageA with PM_REMOVE but waits for a message. Returns FALSE for WM_QUIT, TRUE for
/// any other, -1 when `window` is not a window or no display can be opened (nothing could ever
/// arrive).
ZELVO_PLATFORM_API BOOL GetMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max);
/// For a WM_KEYDOWN or WM_SYSKEYDOWN that typed characters, posts one WM_CHAR or WM_SYSCHAR for
/// each, in Windows-1252 ('?' for a character outside it); for a dead key, WM_DEADCHAR or
/// WM_SYSDEADCHAR with its spacing form (0xB4 for the acute). TRUE when it posted.
ZELVO_PLATFORM_API BOOL TranslateMessage(const MSG* msg);
/// Calls the window procedure of the message's window and returns its result; 0 for thread
/// messages (hwnd 0) and stale windows.
ZELVO_PLATFORM_API LRESULT DispatchMessageA(const MSG* msg);
/// Puts a message on the queue (window 0: a thread message). FALSE for a stale window, and with
/// ERROR_NOT_ENOUGH_QUOTA when 10000 posted messages are waiting.
ZELVO_PLATFORM_API BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
/// Calls the window procedure at once and returns its result; 0 for a stale window. Pointers in
/// lParam travel as PtrToLParam tokens.
ZELVO_PLATFORM_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
/// Asks for WM_QUIT with `exit_code` in wParam, handed out once the posted messages before it are
/// out.
ZELVO_PLATFORM_API void PostQuitMessage(int exit_code);
/// The cursor position (screen, x low and y high 16 bits) of the last message taken.
ZELVO_PLATFORM_API DWORD GetMessagePos(void);
/// The time (GetTickCount) of the last message taken.
ZELVO_PLATFORM_API LONG GetMessageTime(void);
/// @name Generic names
/// The ANSI names, as Windows headers map them.
///@{

/// The ANSI call of the same name.
#define PeekMessage PeekMessageA
#define GetMessage GetMessageA
#define DispatchMessage DispatchMessageA
#define PostMessage PostMessageA
#define SendMessage SendMessageA
#define DefWindowProc DefWindowProcA
///@}

/// Sends all mouse input to `window`, also from outside it (an X pointer grab; coordinates there
/// may be negative), and returns the previous capture window; 0 for a stale window.
ZELVO_PLATFORM_API HWND SetCapture(HWND window);
/// Ends the mouse capture (ungrabs the pointer); the window that had it gets WM_CAPTURECHANGED.
ZELVO_PLATFORM_API BOOL ReleaseCapture(void);
/// The window that has the mouse capture; 0 when none has.
ZELVO_PLATFORM_API HWND GetCapture(void);
/// The cursor position in screen coordinates; FALSE when no display can be opened.
ZELVO_PLATFORM_API BOOL GetCursorPos(LPPOINT point);
/// Moves the cursor to the screen position (an X pointer warp); FALSE without a display.
ZELVO_PLATFORM_API BOOL SetCursorPos(int x, int y);
/// The active top-level window of ours while the program has the input focus; 0 when another
/// program's window has it.
ZELVO_PLATFORM_API HWND GetForegroundWindow(void);
/// The active top-level window of ours; 0 when none is.
ZELVO_PLATFORM_API HWND GetActiveWindow(void);
/// Activates the window's top-level window and gives it the input focus (asking the window
/// manager too, which may refuse). FALSE for a stale window or without a display.
ZELVO_PLATFORM_API BOOL SetForegroundWindow(HWND window);
/// Gives the keyboard focus to `window` (0: to none), sending WM_KILLFOCUS and WM_SETFOCUS;
/// returns the window that had it, 0 for a stale window.
ZELVO_PLATFORM_API HWND SetFocus(HWND window);
/// The window of ours with the keyboard focus; 0 when none has it.
ZELVO_PLATFORM_API HWND GetFocus(void);
/// A key's state as the input read so far left it: bit 15 set while held, bit 0 toggled by
/// each press (Caps Lock and the like); 0 for codes outside 0..255.
ZELVO_PLATFORM_API SHORT GetKeyState(int virtual_key);

/// Sets a named value of a window (the name is case-insensitive, or an atom made with
/// MAKEINTATOM); a property dies with its window. FALSE for a stale window or a null name.
ZELVO_PLATFORM_API BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
/// A window's named value; 0 when it is not set.
ZELVO_PLATFORM_API HANDLE GetPropA(HWND window, LPCSTR name);
/// Removes a named value and returns it; 0 when it was not set.
ZELVO_PLATFORM_API HANDLE RemovePropA(HWND window, LPCSTR name);

/// Gives the window a shape (XShape): only the region's pixels, in window coordinates, remain;
/// region 0 removes the shape. The window owns the region from then on (it deletes the previous
/// one); `redraw` asks for a WM_PAINT. Returns non-zero, or 0 for a stale window or region.
ZELVO_PLATFORM_API int SetWindowRgn(HWND window, HRGN region, BOOL redraw);
