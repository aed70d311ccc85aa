/// @file
/// Skinned window controls: GDI bitmaps with their palettes, window regions cut from colour-keyed
/// bitmaps, and the "IMAGEBUTTON" window class drawn entirely from three bitmaps.
#pragma once

#include <windows.h>

#include <string>

#include "checked.h"

/// @name Image-button properties
/// Names of the per-button window properties (GetPropA); every value is one 32-bit handle-sized
/// value.
///@{
inline constexpr char NormalBmp[] = "NORMALBITMAP";  ///< memory DC holding the normal-state bitmap
inline constexpr char HoverBmp[] = "HOVERBITMAP";    ///< memory DC holding the hover-state bitmap
inline constexpr char PressBmp[] = "PRESSBITMAP";    ///< memory DC holding the pressed-state bitmap
inline constexpr char HoverMode[] = "HOVERMODEBYTE";  ///< 1 normal, 2 hover, 3 pressed (0: absent)
inline constexpr char ButtonRgn[] = "HOVERBUTTONREGION";  ///< the button's shape, for hit-testing
///@}

/// The rectangle buffer of BitmapToRegion never holds fewer than this many rectangles.
inline constexpr int ALLOC_UNIT = 100;

/// Prefix of an image button's bitmap files: a button loads BmpType + "N.BMP", "H.BMP" and "P.BMP"
/// (normal, hover, pressed) from the current directory. Set it before creating a button.
extern ZELVO_API std::string BmpType;

/// Loads a BMP file as a DIB section and makes a palette for it: the bitmap's own colour table for
/// 8 bits per pixel or fewer (256 entries, those past the table black), the halftone palette
/// otherwise. Returns 0 and leaves Pal untouched when the file can't be loaded. Bitmap and palette
/// belong to the caller.
ZELVO_API HBITMAP LoadBmpFromFile(const std::string& FileName, HPALETTE& Pal);

/// The region of every pixel of a BMP file whose colour lies outside the key range (per channel,
/// key .. key + Tolerance, clamped at 255), in bitmap coordinates with y = 0 the top row. Built
/// from one rectangle per opaque run. An all-key bitmap gives an empty region; a file that can't be
/// loaded, or a failure of the memory or region services, gives 0. The region belongs to the
/// caller.
ZELVO_API HRGN BitmapToRegion(const std::string& BmpName, COLORREF TransColor, BYTE Tolerance);

/// Window procedure of the "IMAGEBUTTON" class. A button is a child window with a control
/// identifier; it posts WM_COMMAND (wParam = the identifier, lParam = 0) to its parent when
/// clicked. Creation fails (CreateWindowExA returns 0) when one of its three bitmap files can't be
/// loaded.
ZELVO_API LRESULT CALLBACK HoverButtonHandler(HWND Wnd, UINT iMsg, WPARAM wParam, LPARAM lParam);
