/// @file
/// The window layer: the main window and its GL context, the input state its window procedure
/// keeps, the per-frame message pump step, and the mouse-driven view transform.
///
/// An application calls, in this order: OGLWindowSetting -> CreateOGLWindow -> frame loop
/// (SetGLMsg, drawing with SetGLMouseMove, SwapBuffers(DCWindow), repeat while Active) ->
/// DeleteOGLWindow. Everything runs on the thread that created the window; all state is in the
/// globals below.
#pragma once

#include <windows.h>

#include <cstdint>

#include "checked.h"
#include "vector.h"

// ---------------------------------------------------------------------------------------------
// Window life cycle and GL context
// ---------------------------------------------------------------------------------------------

extern ZELVO_API HWND hWindow;    ///< the main window
extern ZELVO_API HDC DCWindow;    ///< its device context; the application swaps buffers on it
extern ZELVO_API HGLRC RCWindow;  ///< its GL rendering context, current on the creating thread

extern ZELVO_API int32_t SetTypeCursor;   ///< cursor kind for the next WindowRegister (ARROW..HELP)
extern ZELVO_API int32_t SetTypeIcon;     ///< icon kind (GENERIC or FILEICON)
extern ZELVO_API const char* CursorFile;  ///< cursor file for FILECURSOR; stored, not copied
extern ZELVO_API const char* IconFile;    ///< icon file for FILEICON; stored, not copied

/// Outer window width in pixels, set at creation (the screen size in full screen); never follows
/// a later resize.
extern ZELVO_API int32_t Width;
/// Outer window height in pixels, like Width.
extern ZELVO_API int32_t Height;
/// Colour depth asked for; every size of the pixel format asks for it.
extern ZELVO_API int32_t Bits;
extern ZELVO_API bool FullScreen;  ///< written by the application before CreateOGLWindow

/// Extra PFD_* flags OR-ed into the pixel-format request.
extern ZELVO_API int32_t Pixel_Format_Flags;

/// An application's menu hook: a procedure without arguments.
typedef void (*ZelvMenuProc)();
extern ZELVO_API ZelvMenuProc CreateMenuBar;    ///< called by CreateOGLWindow when ShowMenuBar
extern ZELVO_API ZelvMenuProc CreateMouseMenu;  ///< called on WM_CONTEXTMENU when ShowMenuBar
extern ZELVO_API WNDPROC GetInputCommand;       ///< receives WM_COMMAND when ShowMenuBar
/// Lets the three menu hooks above run; written by the application before CreateOGLWindow.
extern ZELVO_API bool ShowMenuBar;
/// CreateOGLWindow adds a status bar (CreateStatusBar) when true.
extern ZELVO_API bool ShowStatusBar;

extern ZELVO_API HWND hStatus;  ///< the status bar, when ShowStatusBar
extern ZELVO_API HWND aWnd;     ///< the status bar CreateStatusBar made last
/// The names the tables of this header give in a run-time error (see CheckedArray).
namespace zelvo::names {
inline constexpr char FileName[] = "FileName";      ///< ::FileName
inline constexpr char StatusItem[] = "StatusItem";  ///< ::StatusItem
inline constexpr char Edges[] = "Edges";            ///< ::Edges
inline constexpr char SetKey[] = "SetKey";          ///< ::SetKey
}  // namespace zelvo::names

/// Initial status text.
extern ZELVO_API zelvo::CheckedArray<char, 0, 260, zelvo::names::FileName> FileName;
/// Right edges of the status-bar parts in client pixels (-1: to the right end), 1..MaxStatusItem;
/// written by the application.
extern ZELVO_API zelvo::CheckedArray<int32_t, 1, 20, zelvo::names::StatusItem> StatusItem;
/// The copy of StatusItem that CreateStatusBar hands to SB_SETPARTS.
extern ZELVO_API zelvo::CheckedArray<int32_t, 1, 20, zelvo::names::Edges> Edges;
extern ZELVO_API int32_t MaxStatusItem;  ///< number of status-bar parts, at most 20

extern ZELVO_API WNDCLASSEXA WindowClassEx;  ///< the image button's class record
/// Set by OGLWindowSetting; the library never reads it, an application may.
extern ZELVO_API bool FogOnOff;
/// An empty display list made by OGLWindowSetting (0 without a context).
extern ZELVO_API uint32_t ObjNull;
extern ZELVO_API DWORD Start;  ///< tick count taken by OGLWindowSetting in free-look mode

namespace zelvo {
/// @name Cursor kinds
/// SetTypeCursor values (OGLWindowSetting's TypeCursor): each names the system cursor of the same
/// name (IDC_ARROW, ...; NOCURSOR is IDC_NO), FILECURSOR the file CursorFile; an unknown kind gives
/// the window no cursor. `SIZE` is only reachable as zelvo::SIZE: the bare name is the Windows SIZE
/// record. The others are also declared outside the namespace.
///@{

/// A cursor kind.
inline constexpr int32_t ARROW = 1;
inline constexpr int32_t IBEAM = 2;
inline constexpr int32_t WAIT = 3;
inline constexpr int32_t CROSS = 4;
inline constexpr int32_t UPARROW = 5;
inline constexpr int32_t SIZE = 6;
inline constexpr int32_t FILECURSOR = 7;
inline constexpr int32_t SIZENWSE = 8;
inline constexpr int32_t SIZENESW = 9;
inline constexpr int32_t SIZEWE = 10;
inline constexpr int32_t SIZENS = 11;
inline constexpr int32_t SIZEALL = 12;
inline constexpr int32_t NOCURSOR = 13;
inline constexpr int32_t HAND = 14;
inline constexpr int32_t APPSTARTING = 15;
inline constexpr int32_t HELP = 16;
///@}
/// Icon kind (SetTypeIcon): the system application icon.
inline constexpr int32_t GENERIC = 1;
/// Icon kind: the icon file IconFile.
inline constexpr int32_t FILEICON = 2;
}  // namespace zelvo
using zelvo::APPSTARTING;
using zelvo::ARROW;
using zelvo::CROSS;
using zelvo::FILECURSOR;
using zelvo::FILEICON;
using zelvo::GENERIC;
using zelvo::HAND;
using zelvo::HELP;
using zelvo::IBEAM;
using zelvo::NOCURSOR;
using zelvo::SIZEALL;
using zelvo::SIZENESW;
using zelvo::SIZENS;
using zelvo::SIZENWSE;
using zelvo::SIZEWE;
using zelvo::UPARROW;
using zelvo::WAIT;

/// The image button's window class name (see HoverButtonHandler).
inline constexpr const char* SzHoverClass = "IMAGEBUTTON";
/// PFD_DOUBLEBUFFER | PFD_STEREO | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
/// PFD_SUPPORT_DIRECTDRAW, offered to applications for Pixel_Format_Flags.
inline constexpr int32_t ZELV_ACCELERATION = 8231;

/// Shows a box captioned "Error" with the message, then ends the program with status 1.
[[noreturn]] ZELVO_API void ThrowError(const char* pcErrorMessage);

/// Records the cursor and icon choice for the next WindowRegister. Call before CreateOGLWindow; the
/// file names are kept by pointer until then.
ZELVO_API void OGLWindowSetting(int32_t TypeCursor, const char* CurFile, int32_t TypeIcon,
                                const char* IcoFile);

/// Registers "GLWindow" (and "IMAGEBUTTON" when it does not exist yet); true when "GLWindow" was.
ZELVO_API bool WindowRegister();
/// Creates and shows the main window, windowed or full screen after FullScreen; 0 on failure.
ZELVO_API HWND WindowCreate(const char* pcApplicationName);
/// Device context, pixel format and a current rendering context for the window; true on success.
ZELVO_API bool WindowInit(HWND hParent);
/// Registers, creates and initialises the main window; AppWidth x AppHeight is its outer size, the
/// client area is smaller by the frame. Every failure ends the program in ThrowError, so it returns
/// true whenever it returns; a second call after DeleteOGLWindow is such a failure unless
/// "GLWindow" was unregistered in between.
ZELVO_API bool CreateOGLWindow(const char* AppName, int32_t AppWidth, int32_t AppHeight,
                               int32_t AppBits, bool AppFullScreen);
/// Releases the rendering context, the device context and the window. Calls on a window the system
/// already destroyed fail silently. The class "GLWindow" stays registered:
/// UnregisterClassA("GLWindow", GetModuleHandleA(nullptr)) before another CreateOGLWindow.
ZELVO_API void DeleteOGLWindow();
/// A status bar child of Parent with MaxStatusItem parts from StatusItem; 0 when it is not made.
ZELVO_API HWND CreateStatusBar(HWND Parent);

// ---------------------------------------------------------------------------------------------
// Message handling and input state
// ---------------------------------------------------------------------------------------------

/// True from the window's creation until its destruction (or Escape).
extern ZELVO_API bool Active;

/// Key state by virtual-key code: 0 released, -1 held.
extern ZELVO_API zelvo::CheckedArray<int32_t, 0, 500, zelvo::names::SetKey> SetKey;
/// @name Mouse buttons
/// True while the left or right button is held in the window (the window captures the mouse
/// meanwhile); the copies ending in 2 are for the application.
///@{

/// True while the button is held.
extern ZELVO_API bool LeftMouseDown, RightMouseDown;
extern ZELVO_API bool LeftMouseDown2, RightMouseDown2;
///@}
extern ZELVO_API bool MouseFree;  ///< free mouse-look; any key release clears it
///@{
extern ZELVO_API int32_t XCoord, YCoord;  ///< left-drag anchor (client coordinates)
///@}
extern ZELVO_API int32_t ZCoord;  ///< right-drag anchor (client y)
///@{
extern ZELVO_API int32_t SetMX, SetMY;  ///< last left-button press; 0 after release
///@}
///@{
extern ZELVO_API int32_t SetOMX, SetOMY;  ///< last mouse move
///@}
///@{
extern ZELVO_API float XRot, YRot;  ///< view angles in degrees
///@}
///@{
extern ZELVO_API float XRot2, YRot2;  ///< copies, changed alike, for the application
///@}
// Xlib declares a type named Depth at global scope, and a file cannot have both, so the variable's
// home is zelvo::Depth; the global name is the same object (C linkage, symbol "Depth"), declared
// unless Xlib was included before this header or the program defines ZELVO_NO_GLOBAL_DEPTH (for a
// file that includes Xlib after Zelvo.h).
namespace zelvo {
/// The view distance offset (also reachable as the global `Depth`, see above).
extern "C" ZELVO_API float Depth;
}  // namespace zelvo
#if !defined(_X11_XLIB_H_) && !defined(ZELVO_NO_GLOBAL_DEPTH)
extern "C" ZELVO_API float Depth;  ///< view distance offset
#endif
extern ZELVO_API float Depth2;  ///< copy, changed alike, for the application
extern ZELVO_API POINT MPos;    ///< cursor position in free-look mode (screen)
extern ZELVO_API MSG Msg_;      ///< the last message SetGLMsg took

/// The window procedure of "GLWindow": turns messages into the input state above. Key presses
/// set SetKey; Escape instead sends WM_DESTROY to the main window, so Active becomes false and
/// WM_QUIT is posted while the window itself stays until DeleteOGLWindow. A button press captures
/// the mouse and starts a drag that turns XRot and YRot (left) or moves Depth (right); WM_COMMAND
/// goes to GetInputCommand when ShowMenuBar. Everything then passes to DefWindowProcA.
ZELVO_API LRESULT CALLBACK GLWndProc(HWND Window, UINT AMessage, WPARAM WParam, LPARAM LParam);

/// One step of the message pump: when a message is waiting, takes exactly that one (into Msg_),
/// translates and dispatches it. Never waits; a backlog is worked off one message per call.
ZELVO_API void SetGLMsg();

// ---------------------------------------------------------------------------------------------
// Mouse-driven view
// ---------------------------------------------------------------------------------------------

inline constexpr int32_t GL_M0 = 0;  ///< translate along z; XRot about x, YRot about y
inline constexpr int32_t GL_MX = 1;  ///< translate along y; XRot about x, YRot about z
inline constexpr int32_t GL_MY = 2;  ///< translate along x; XRot about -z, YRot about y
inline constexpr int32_t GL_MZ = 3;  ///< translate along z; XRot about y, YRot about x

extern ZELVO_API int32_t MSpeed;  ///< mouse speed factor; 0 until the first SetGLMouseMove
extern ZELVO_API TGLVertex My;    ///< the translation the last SetGLMouseMove applied

/// Applies -Depth, XRot and YRot to the current matrix in the axes of mode XYZ, and sets MSpeed.
/// A mode outside 0..3 only sets MSpeed.
ZELVO_API void SetGLMouseMove(int32_t XYZ, int32_t Speed);
