// Windows, window classes, the message queue, input, capture and window properties.
//
// Values and record layouts are the Windows ones; pointers inside records are native, so the
// extended class record is larger than its 48-byte original (RegisterClassExA accepts both sizes).
#pragma once

#include "base.h"

// ---- Window messages ----
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
#define WM_SETCURSOR 0x0020
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_DEADCHAR 0x0103
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0109
#define WM_COMMAND 0x0111
#define BN_CLICKED 0
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
#define WM_CAPTURECHANGED 0x0215
#define WM_CONTEXTMENU 0x007B
#define WM_USER 0x0400
#define WM_APP 0x8000

#define WHEEL_DELTA 120

// WM_SIZE wParam
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// ---- System commands (wParam of WM_SYSCOMMAND; the low four bits are the system's own) ----
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_RESTORE 0xF120
#define SC_SCREENSAVE 0xF140
#define SC_MONITORPOWER 0xF170

// ---- Window styles ----
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

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_APPWINDOW 0x00040000L

// ---- Class styles ----
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_SAVEBITS 0x0800
#define CS_GLOBALCLASS 0x4000

#define CW_USEDEFAULT ((int)0x80000000)

// ---- ShowWindow commands ----
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

// ---- System metrics ----
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

// ---- System colour indices (GetSysColor / GetSysColorBrush) ----
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

// ---- Virtual-key codes ('0'..'9' and 'A'..'Z' are their ASCII values) ----
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

// ---- Mouse-message key flags (wParam) ----
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

// ---- PeekMessage ----
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// ---- GetWindowLong ----
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_ID (-12)
#define GWL_USERDATA (-21)

// ---- GetAncestor ----
#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3

#define HWND_MESSAGE_ONLY_THREAD \
  ((HWND)0xFFFFFFFFu)  // PeekMessage filter: messages without a window

typedef struct tagWNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
} WNDCLASSA, *PWNDCLASSA, *LPWNDCLASSA;

typedef struct tagWNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
} WNDCLASSEXA, *PWNDCLASSEXA, *LPWNDCLASSEXA;

// The size a caller of the original 32-bit interface puts into cbSize.
#define WNDCLASSEXA_LEGACY_SIZE 48

typedef struct tagCREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;

#define MAKEINTATOM(i) ((LPCSTR)(uintptr_t)((WORD)(i)))

// ---- Window classes ----
ZELVO_PLATFORM_API ATOM RegisterClassA(const WNDCLASSA* wc);
ZELVO_PLATFORM_API ATOM RegisterClassExA(const WNDCLASSEXA* wc);
ZELVO_PLATFORM_API BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR class_name, LPWNDCLASSEXA wc);
ZELVO_PLATFORM_API BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE instance);

// ---- Windows ----
ZELVO_PLATFORM_API HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name,
                                        DWORD style, int x, int y, int width, int height,
                                        HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
#define CreateWindowA(c, n, s, x, y, w, h, p, m, i, a) \
  CreateWindowExA(0, c, n, s, x, y, w, h, p, m, i, a)
ZELVO_PLATFORM_API BOOL DestroyWindow(HWND window);
ZELVO_PLATFORM_API BOOL IsWindow(HWND window);
ZELVO_PLATFORM_API BOOL IsWindowVisible(HWND window);
ZELVO_PLATFORM_API BOOL ShowWindow(HWND window, int command);
ZELVO_PLATFORM_API BOOL UpdateWindow(HWND window);
ZELVO_PLATFORM_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
ZELVO_PLATFORM_API HWND GetParent(HWND window);
ZELVO_PLATFORM_API HWND GetAncestor(HWND window, UINT flags);
ZELVO_PLATFORM_API int GetDlgCtrlID(HWND window);
ZELVO_PLATFORM_API LONG GetWindowLongA(HWND window, int index);
ZELVO_PLATFORM_API LONG SetWindowLongA(HWND window, int index, LONG value);
ZELVO_PLATFORM_API BOOL SetWindowTextA(HWND window, LPCSTR text);
ZELVO_PLATFORM_API int GetWindowTextA(HWND window, LPSTR buffer, int size);
ZELVO_PLATFORM_API int GetWindowTextLengthA(HWND window);
// The newest top-level window of the class (name or atom) with the title, compared without regard
// to case; NULL matches any class or any title.
ZELVO_PLATFORM_API HWND FindWindowA(LPCSTR class_name, LPCSTR title);
// The title of the dialog's child window with the control id (a message box's text is its control
// 0xFFFF); 0 when there is none.
ZELVO_PLATFORM_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);

// ---- Geometry ----
ZELVO_PLATFORM_API BOOL GetWindowRect(HWND window, LPRECT rect);
ZELVO_PLATFORM_API BOOL GetClientRect(HWND window, LPRECT rect);
ZELVO_PLATFORM_API BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
ZELVO_PLATFORM_API BOOL ClientToScreen(HWND window, LPPOINT point);
ZELVO_PLATFORM_API BOOL ScreenToClient(HWND window, LPPOINT point);
ZELVO_PLATFORM_API BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
ZELVO_PLATFORM_API int GetSystemMetrics(int index);

// ---- Painting ----
ZELVO_PLATFORM_API HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
ZELVO_PLATFORM_API BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
ZELVO_PLATFORM_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
ZELVO_PLATFORM_API BOOL ValidateRect(HWND window, const RECT* rect);
ZELVO_PLATFORM_API BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);

// ---- Message queue ----
ZELVO_PLATFORM_API BOOL PeekMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max,
                                     UINT remove);
ZELVO_PLATFORM_API BOOL GetMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max);
ZELVO_PLATFORM_API BOOL TranslateMessage(const MSG* msg);
ZELVO_PLATFORM_API LRESULT DispatchMessageA(const MSG* msg);
ZELVO_PLATFORM_API BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
ZELVO_PLATFORM_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
ZELVO_PLATFORM_API void PostQuitMessage(int exit_code);
ZELVO_PLATFORM_API DWORD GetMessagePos(void);
ZELVO_PLATFORM_API LONG GetMessageTime(void);
#define PeekMessage PeekMessageA
#define GetMessage GetMessageA
#define DispatchMessage DispatchMessageA
#define PostMessage PostMessageA
#define SendMessage SendMessageA
#define DefWindowProc DefWindowProcA

// ---- Input ----
ZELVO_PLATFORM_API HWND SetCapture(HWND window);
ZELVO_PLATFORM_API BOOL ReleaseCapture(void);
ZELVO_PLATFORM_API HWND GetCapture(void);
ZELVO_PLATFORM_API BOOL GetCursorPos(LPPOINT point);
ZELVO_PLATFORM_API BOOL SetCursorPos(int x, int y);
ZELVO_PLATFORM_API HWND GetForegroundWindow(void);
ZELVO_PLATFORM_API BOOL SetForegroundWindow(HWND window);
ZELVO_PLATFORM_API HWND SetFocus(HWND window);
ZELVO_PLATFORM_API HWND GetFocus(void);
ZELVO_PLATFORM_API SHORT GetKeyState(int virtual_key);

// ---- Window properties (names are case-insensitive) ----
ZELVO_PLATFORM_API BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
ZELVO_PLATFORM_API HANDLE GetPropA(HWND window, LPCSTR name);
ZELVO_PLATFORM_API HANDLE RemovePropA(HWND window, LPCSTR name);

// ---- Window shape: the window owns the region from then on; 0 removes the shape ----
ZELVO_PLATFORM_API int SetWindowRgn(HWND window, HRGN region, BOOL redraw);
