/// @file
/// Graphics services: device contexts, bitmaps and DIB sections, palettes, regions, BitBlt,
/// brushes, and the rectangle helpers.
///
/// The layer draws no lines, shapes or text: a program draws with OpenGL, and GDI serves to load
/// bitmaps, convert their pixels, copy them to windows and cut window shapes. The display is true
/// colour, so palettes are recorded but never change what is drawn.
#pragma once

#include "base.h"

// ---- Records -----------------------------------------------------------------------------------

/// A bitmap's description, as GetObjectA reports it.
typedef struct tagBITMAP {
  LONG bmType;        ///< Always 0.
  LONG bmWidth;       ///< Width in pixels.
  LONG bmHeight;      ///< Height in pixels, always positive.
  LONG bmWidthBytes;  ///< Bytes per row, a multiple of 2 (4 for DIB sections).
  WORD bmPlanes;      ///< Always 1.
  WORD bmBitsPixel;   ///< Bits per pixel: 1, 4, 8, 16, 24 or 32.
  LPVOID bmBits;      ///< The pixels of a DIB section; null for other bitmaps.
} BITMAP, *PBITMAP, *LPBITMAP;
/// @typedef PBITMAP
/// Pointer to a BITMAP.
/// @typedef LPBITMAP
/// Pointer to a BITMAP.

#pragma pack(push, 2)
/// The first 14 bytes of a BMP file (packed to 2 bytes, as in the file).
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;       ///< 'BM' (0x4D42).
  DWORD bfSize;      ///< The file's size in bytes.
  WORD bfReserved1;  ///< 0.
  WORD bfReserved2;  ///< 0.
  DWORD bfOffBits;   ///< Offset of the pixels from the start of the file.
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER;
/// @typedef LPBITMAPFILEHEADER
/// Pointer to a BITMAPFILEHEADER.
#pragma pack(pop)

/// The 12-byte OS/2 bitmap header.
typedef struct tagBITMAPCOREHEADER {
  DWORD bcSize;     ///< 12.
  WORD bcWidth;     ///< Width in pixels.
  WORD bcHeight;    ///< Height in pixels; rows run bottom-up.
  WORD bcPlanes;    ///< 1.
  WORD bcBitCount;  ///< Bits per pixel: 1, 4, 8 or 24.
} BITMAPCOREHEADER;

/// The 40-byte bitmap header of BMP files and CreateDIBSection.
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;          ///< The header's size: 40, or 52, 56, 108, 124 for the longer headers.
  LONG biWidth;          ///< Width in pixels.
  LONG biHeight;         ///< Height in pixels: positive for bottom-up rows, negative for top-down.
  WORD biPlanes;         ///< 1.
  WORD biBitCount;       ///< Bits per pixel: 1, 4, 8, 16, 24 or 32.
  DWORD biCompression;   ///< BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS.
  DWORD biSizeImage;     ///< Bytes of pixels; may be 0 for BI_RGB.
  LONG biXPelsPerMeter;  ///< Horizontal resolution; not used.
  LONG biYPelsPerMeter;  ///< Vertical resolution; not used.
  DWORD biClrUsed;       ///< Colour-table entries; 0 means all that the depth allows.
  DWORD biClrImportant;  ///< Not used.
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;
/// @typedef PBITMAPINFOHEADER
/// Pointer to a BITMAPINFOHEADER.
/// @typedef LPBITMAPINFOHEADER
/// Pointer to a BITMAPINFOHEADER.

/// A CIE XYZ colour in 2.30 fixed point (colour-space end points of the long bitmap headers).
typedef struct tagCIEXYZ {
  /// @{

  /// A coordinate of the colour (X, Y, Z).
  LONG ciexyzX, ciexyzY, ciexyzZ;
  /// @}
} CIEXYZ;
/// The red, green and blue end points of a colour space.
typedef struct tagCIEXYZTRIPLE {
  /// @{

  /// An end point (red, green, blue).
  CIEXYZ ciexyzRed, ciexyzGreen, ciexyzBlue;
  /// @}
} CIEXYZTRIPLE;

/// The 108-byte bitmap header: BITMAPINFOHEADER's fields, then colour masks and a colour
/// space. BMP files with it are read; the colour space is not used.
typedef struct {
  /// @{

  /// A field of the Windows record: the BITMAPINFOHEADER fields, the red, green, blue and alpha
  /// masks of BI_BITFIELDS pixels, then colour-space data that is not used.
  DWORD bV4Size;
  LONG bV4Width;
  LONG bV4Height;
  WORD bV4Planes;
  WORD bV4BitCount;
  DWORD bV4V4Compression;
  DWORD bV4SizeImage;
  LONG bV4XPelsPerMeter;
  LONG bV4YPelsPerMeter;
  DWORD bV4ClrUsed;
  DWORD bV4ClrImportant;
  DWORD bV4RedMask;
  DWORD bV4GreenMask;
  DWORD bV4BlueMask;
  DWORD bV4AlphaMask;
  DWORD bV4CSType;
  CIEXYZTRIPLE bV4Endpoints;
  DWORD bV4GammaRed;
  DWORD bV4GammaGreen;
  DWORD bV4GammaBlue;
  /// @}
} BITMAPV4HEADER;

/// The 124-byte bitmap header: BITMAPINFOHEADER's fields, then colour masks and a colour
/// space. BMP files with it are read; the colour space is not used.
typedef struct {
  /// @{

  /// A field of the Windows record: the BITMAPINFOHEADER fields, the red, green, blue and alpha
  /// masks of BI_BITFIELDS pixels, then colour-space data that is not used.
  DWORD bV5Size;
  LONG bV5Width;
  LONG bV5Height;
  WORD bV5Planes;
  WORD bV5BitCount;
  DWORD bV5Compression;
  DWORD bV5SizeImage;
  LONG bV5XPelsPerMeter;
  LONG bV5YPelsPerMeter;
  DWORD bV5ClrUsed;
  DWORD bV5ClrImportant;
  DWORD bV5RedMask;
  DWORD bV5GreenMask;
  DWORD bV5BlueMask;
  DWORD bV5AlphaMask;
  DWORD bV5CSType;
  CIEXYZTRIPLE bV5Endpoints;
  DWORD bV5GammaRed;
  DWORD bV5GammaGreen;
  DWORD bV5GammaBlue;
  DWORD bV5Intent;
  DWORD bV5ProfileData;
  DWORD bV5ProfileSize;
  DWORD bV5Reserved;
  /// @}
} BITMAPV5HEADER;

/// A colour-table entry.
typedef struct tagRGBQUAD {
  BYTE rgbBlue;      ///< Blue.
  BYTE rgbGreen;     ///< Green.
  BYTE rgbRed;       ///< Red.
  BYTE rgbReserved;  ///< 0.
} RGBQUAD;

/// A 24-bit pixel as stored in memory.
typedef struct tagRGBTRIPLE {
  BYTE rgbtBlue;   ///< Blue.
  BYTE rgbtGreen;  ///< Green.
  BYTE rgbtRed;    ///< Red.
} RGBTRIPLE;

/// A bitmap header followed by its colour table (or the three BI_BITFIELDS masks).
typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;  ///< The header.
  RGBQUAD bmiColors[1];  ///< The first colour; the table continues past the end of the record.
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;
/// @typedef PBITMAPINFO
/// Pointer to a BITMAPINFO.
/// @typedef LPBITMAPINFO
/// Pointer to a BITMAPINFO.

/// A DIB section's description, as GetObjectA reports it when the buffer is this large.
typedef struct tagDIBSECTION {
  BITMAP dsBm;              ///< The BITMAP.
  BITMAPINFOHEADER dsBmih;  ///< Its header; biHeight < 0 for top-down rows.  ///< The header the
                            ///< section was made with (top-down sections keep a negative height).
  DWORD dsBitfields[3];     ///< Red, green, blue masks of 16 and 32-bit sections.
  HANDLE dshSection;        ///< 0: sections are never file mappings here.
  DWORD dsOffset;           ///< 0.
} DIBSECTION;

/// A palette entry.
typedef struct tagPALETTEENTRY {
  BYTE peRed;    ///< Red.
  BYTE peGreen;  ///< Green.
  BYTE peBlue;   ///< Blue.
  BYTE peFlags;  ///< PC_* flags; kept, not used.
} PALETTEENTRY, *LPPALETTEENTRY;
/// @typedef LPPALETTEENTRY
/// Pointer to a PALETTEENTRY.

/// A logical palette for CreatePalette.
typedef struct tagLOGPALETTE {
  WORD palVersion;              ///< 0x300.
  WORD palNumEntries;           ///< The number of entries, at least 1.
  PALETTEENTRY palPalEntry[1];  ///< The first entry; the rest follow past the end of the record.
} LOGPALETTE, *LPLOGPALETTE;
/// @typedef LPLOGPALETTE
/// Pointer to a LOGPALETTE.

/// A brush's description, as GetObjectA reports it.
typedef struct tagLOGBRUSH {
  UINT lbStyle;       ///< BS_SOLID or BS_NULL.
  COLORREF lbColor;   ///< The colour.
  ULONG_PTR lbHatch;  ///< 0.
} LOGBRUSH;

/// A pen's description, as GetObjectA reports it.
typedef struct tagLOGPEN {
  UINT lopnStyle;      ///< PS_SOLID or PS_NULL.
  POINT lopnWidth;     ///< x is the width in pixels (1, or 0 for PS_NULL); y is 0.
  COLORREF lopnColor;  ///< The colour.
} LOGPEN;

/// The header of a region's rectangle list (ExtCreateRegion, GetRegionData).
typedef struct _RGNDATAHEADER {
  DWORD dwSize;    ///< sizeof(RGNDATAHEADER), 32.
  DWORD iType;     ///< RDH_RECTANGLES.
  DWORD nCount;    ///< The number of rectangles.
  DWORD nRgnSize;  ///< Bytes of rectangles; ExtCreateRegion ignores it.
  RECT rcBound;    ///< The bounding rectangle; ExtCreateRegion ignores it.
} RGNDATAHEADER;

/// A region as a header and its rectangles, in y-x bands.
typedef struct _RGNDATA {
  RGNDATAHEADER rdh;  ///< The header.
  char Buffer[1];     ///< The first byte of nCount RECTs.
} RGNDATA, *PRGNDATA, *LPRGNDATA;
/// @typedef PRGNDATA
/// Pointer to a RGNDATA.
/// @typedef LPRGNDATA
/// Pointer to a RGNDATA.

/// A 2-D affine transformation: x' = x * eM11 + y * eM21 + eDx, y' = x * eM12 + y * eM22 + eDy.
typedef struct tagXFORM {
  /// @{

  /// A coefficient of the transformation.
  FLOAT eM11, eM12, eM21, eM22, eDx, eDy;
  /// @}
} XFORM;

// ---- Constants ---------------------------------------------------------------------------------

#define BI_RGB 0        ///< biCompression: uncompressed pixels.
#define BI_RLE8 1       ///< biCompression: run-length encoded, 8 bits per pixel (BMP files only).
#define BI_RLE4 2       ///< biCompression: run-length encoded, 4 bits per pixel (BMP files only).
#define BI_BITFIELDS 3  ///< biCompression: 16 or 32-bit pixels with three colour masks.

#define DIB_RGB_COLORS 0  ///< CreateDIBSection: the colour table holds RGBQUADs.
#define DIB_PAL_COLORS 1  ///< CreateDIBSection: the colour table holds palette indices.

#define SRCCOPY 0x00CC0020u    ///< BitBlt: copy the source.
#define BLACKNESS 0x00000042u  ///< BitBlt: fill with black, no source.
#define WHITENESS 0x00FF0062u  ///< BitBlt: fill with white, no source.

/// @name Region combinations (CombineRgn)
/// The Windows values.
///@{

/// RGN_AND intersection, RGN_OR union, RGN_XOR symmetric difference, RGN_DIFF
/// the first minus the second, RGN_COPY a copy of the first.
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
///@}

/// @name Region complexities
/// What the region calls return: ERROR on failure, otherwise the region's kind. Windows makes
/// ERROR a macro; here it is a constant of the same value, so that a program keeps the use of the
/// name inside its own scopes (an enumerator of a scoped enumeration, a member, a namespace). A
/// program that defines an ERROR macro of its own before this header keeps its macro.
///@{

/// ERROR failure, NULLREGION empty, SIMPLEREGION one rectangle, COMPLEXREGION more.
#ifndef ERROR
inline constexpr int ERROR = 0;
#endif
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
///@}

/// RGNDATAHEADER::iType: the only kind of region data.
#define RDH_RECTANGLES 1

/// @name Image types (LoadImageA)
/// LoadImageA loads only IMAGE_BITMAP; cursors and icons come from LoadCursorFromFileA.
///@{

/// An image type.
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
///@}

/// @name Image load flags (LoadImageA)
/// LR_LOADFROMFILE is required and LR_LOADTRANSPARENT is honoured; the others are accepted
/// and change nothing (files always load as DIB sections of their own depth).
///@{

/// A LoadImageA flag.
#define LR_DEFAULTCOLOR 0x0000
#define LR_MONOCHROME 0x0001
#define LR_LOADFROMFILE 0x0010
#define LR_LOADTRANSPARENT 0x0020
#define LR_DEFAULTSIZE 0x0040
#define LR_CREATEDIBSECTION 0x2000
///@}

/// @name Stock objects (GetStockObject)
/// The Windows indices of the permanent brushes, pens and palette. DC_BRUSH and DC_PEN are
/// white and black. DeleteObject leaves stock objects alone.
///@{

/// A stock object index.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DEFAULT_PALETTE 15
#define DC_BRUSH 18
#define DC_PEN 19
///@}

/// @name Brush and pen styles
/// The styles LOGBRUSH and LOGPEN report: solid, or null (draws nothing).
///@{

/// A brush or pen style.
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define PS_SOLID 0
#define PS_NULL 5
///@}

/// @name Object types (GetObjectType, GetCurrentObject)
/// The Windows values.
///@{

/// A GDI object type.
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10
///@}

#define HGDI_ERROR 0xFFFFFFFFu   ///< SelectObject's failure result for a region.
#define CLR_INVALID 0xFFFFFFFFu  ///< An invalid colour.
#define GDI_ERROR 0xFFFFFFFFu    ///< RealizePalette's failure result.

// ---- Device contexts ---------------------------------------------------------------------------

/// A device context for the window's client area; GetDC(0) gives one for the screen. Each call
/// makes a new context (Windows may share one), which ReleaseDC releases. 0 for a destroyed window.
ZELVO_PLATFORM_API HDC GetDC(HWND window);
/// Releases a context GetDC gave for `window`: 1 when released, 0 when `dc` is not a window or
/// screen context of that window.
ZELVO_PLATFORM_API int ReleaseDC(HWND window, HDC dc);

/// A memory device context holding a 1 x 1 monochrome bitmap until another bitmap is selected into
/// it; `dc` (0 for the screen) is only checked. 0 when `dc` is not a device context. Delete it with
/// DeleteDC.
ZELVO_PLATFORM_API HDC CreateCompatibleDC(HDC dc);
/// Deletes a memory device context, freeing its selections; window and screen contexts go back
/// with ReleaseDC instead (FALSE here).
ZELVO_PLATFORM_API BOOL DeleteDC(HDC dc);
/// Selects an object into a device context. Bitmaps (memory contexts only, one context at a time),
/// brushes and pens return the previous object; a region becomes the context's clipping region (a
/// copy) and the result is its complexity (NULLREGION, ...). Fails with 0 (HGDI_ERROR for a
/// region); palettes go through SelectPalette.
ZELVO_PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
/// The bitmap, brush, pen or palette (OBJ_BITMAP, OBJ_BRUSH, OBJ_PEN, OBJ_PAL) selected into `dc`;
/// 0 for another type or an invalid context.
ZELVO_PLATFORM_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
/// The OBJ_* type of a GDI object or device context; 0 for a stale handle or another kind of
/// object (a window, a cursor).
ZELVO_PLATFORM_API DWORD GetObjectType(HGDIOBJ object);

/// @name GetDeviceCaps indexes
/// The Windows values of the capabilities GetDeviceCaps reports.
///@{

/// A GetDeviceCaps index.
#define LOGPIXELSX 88
#define LOGPIXELSY 90
///@}

/// A capability of the device behind `dc`. LOGPIXELSX and LOGPIXELSY give the screen's dots per
/// inch across and down, as the X server states them (its Xft.dpi resource when set, else its
/// pixel and millimetre sizes; 96 when it states neither), for every kind of context. 0 for
/// another index or when `dc` is not a device context.
ZELVO_PLATFORM_API int GetDeviceCaps(HDC dc, int index);

// ---- Bitmaps -----------------------------------------------------------------------------------

/// Loads a BMP file as a bitmap. Only IMAGE_BITMAP with LR_LOADFROMFILE is offered (no resources):
/// the file becomes a DIB section of its own depth, with rows bottom-up and positive bmHeight
/// whatever the file's row order; `cx`, `cy` other than 0 resize it (nearest neighbour), and
/// LR_LOADTRANSPARENT gives the first pixel's colour-table entry the window colour. The module
/// handle is ignored. A name that does not exist as given is looked up without regard to case, as
/// Windows file names are (see ZelvoFindFileName). 0 on failure, with ERROR_FILE_NOT_FOUND or
/// ERROR_PATH_NOT_FOUND for a missing file, ERROR_ACCESS_DENIED when it or a folder on the way
/// may not be opened (and for what is not a regular file), ERROR_READ_FAULT when it cannot be read,
/// ERROR_INVALID_DATA for a malformed file and ERROR_NOT_ENOUGH_MEMORY past 2^26 pixels. The bitmap
/// belongs to the caller (DeleteObject).
ZELVO_PLATFORM_API HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy,
                                     UINT flags);
/// The ANSI name, as Windows headers map it.
#define LoadImage LoadImageA

/// A DIB section: a bitmap whose pixels the program reads and writes at `*bits` (set to null on
/// failure). Takes 1, 4, 8, 16, 24 or 32 bits per pixel, BI_RGB or BI_BITFIELDS (16 and 32 bits),
/// a negative height for top-down rows, and the colour table after the header (RGBQUADs, or
/// palette indices for DIB_PAL_COLORS). Unlike Windows, `section` must be 0 (no file mappings;
/// `offset` is ignored). 0 on failure. Free it with DeleteObject.
ZELVO_PLATFORM_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                            HANDLE section, DWORD offset);
/// A device-dependent bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel and one plane, filled from
/// `bits` (rows top-down, padded to 16 bits) when not null. A 0 width or height gives the shared
/// 1 x 1 monochrome bitmap. 0 on failure.
ZELVO_PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel,
                                        const void* bits);
/// A bitmap like the one selected into a memory context (monochrome for a fresh one), or a 32-bit
/// one for a window or screen context. 0 for a negative size or an invalid context.
ZELVO_PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
/// Copies up to `count` colour-table entries from `first` of the DIB section selected into `dc`;
/// returns the number copied, 0 when there is no such section or table.
ZELVO_PLATFORM_API UINT GetDIBColorTable(HDC dc, UINT first, UINT count, RGBQUAD* colors);
/// Sets up to `count` colour-table entries from `first` of the DIB section selected into `dc`;
/// returns the number set, 0 when there is no such section or table.
ZELVO_PLATFORM_API UINT SetDIBColorTable(HDC dc, UINT first, UINT count, const RGBQUAD* colors);

/// Describes a GDI object into `buffer`: a BITMAP (a DIBSECTION for a DIB section when `size`
/// allows), the WORD entry count for palettes, a LOGBRUSH, a LOGPEN. Returns the bytes written;
/// with a null buffer the size needed; 0 for a too-small buffer, a stale handle or another kind
/// of object.
ZELVO_PLATFORM_API int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
/// The ANSI name, as Windows headers map it.
#define GetObject GetObjectA
/// Frees a bitmap, palette, region, brush or pen. Stock objects stay (TRUE); an object selected
/// into a device context is not deleted (FALSE); FALSE for a stale handle and for device contexts.
ZELVO_PLATFORM_API BOOL DeleteObject(HGDIOBJ object);

/// Copies a `width` x `height` block from `source` at (`source_x`, `source_y`) to `dest` at
/// (`x`, `y`), converting the pixel format, clipped to both bitmaps and to the destination's
/// clipping region. Source and destination are memory contexts, windows or the screen; a window
/// source gives what the X server shows in its client area (clipped to it), so a window that is
/// not mapped cannot be read. Raster operations: SRCCOPY, and BLACKNESS and WHITENESS (no source);
/// others fail. FALSE on failure.
ZELVO_PLATFORM_API BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source,
                               int source_x, int source_y, DWORD rop);

// ---- Palettes ----------------------------------------------------------------------------------

/// A logical palette of the record's entries (palVersion 0x300, at least one entry); 0 otherwise.
/// Free it with DeleteObject.
ZELVO_PLATFORM_API HPALETTE CreatePalette(const LOGPALETTE* palette);
/// The 256-entry halftone palette: the 20 static colours, a 6 x 6 x 6 colour cube and 20 greys. 0
/// for an invalid context. Free it with DeleteObject.
ZELVO_PLATFORM_API HPALETTE CreateHalftonePalette(HDC dc);
/// Selects a palette into a device context and returns the previous one (0 on failure).
/// `force_background` is ignored: on a true-colour display a palette only records the choice.
ZELVO_PLATFORM_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL force_background);
/// The number of entries of the selected palette "mapped" (all of them, as the display is true
/// colour; 0 for the default palette); GDI_ERROR for an invalid context.
ZELVO_PLATFORM_API UINT RealizePalette(HDC dc);
/// Copies up to `count` entries from `first`; returns the number copied, the palette's size when
/// `entries` is null, 0 for a stale handle.
ZELVO_PLATFORM_API UINT GetPaletteEntries(HPALETTE palette, UINT first, UINT count,
                                          LPPALETTEENTRY entries);

// ---- Stock objects, brushes, system colours ----------------------------------------------------

/// A stock object (WHITE_BRUSH ... DC_PEN); 0 for an unknown index. Stock objects are permanent.
ZELVO_PLATFORM_API HGDIOBJ GetStockObject(int index);
/// A solid brush of the colour. Brushes are recorded, never drawn with. Free it with DeleteObject.
ZELVO_PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
/// A system colour (COLOR_*) of a light desktop scheme, fixed (the X desktop's theme is not
/// read); 0 for an unknown index.
ZELVO_PLATFORM_API DWORD GetSysColor(int index);
/// A permanent brush of a system colour; 0 for an unknown index.
ZELVO_PLATFORM_API HBRUSH GetSysColorBrush(int index);

// ---- Regions -----------------------------------------------------------------------------------

/// A rectangular region (the corners in any order; right and bottom exclusive). Coordinates are
/// clamped to +-2^27, as on Windows. Free it with DeleteObject.
ZELVO_PLATFORM_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
/// CreateRectRgn of a RECT; 0 for a null pointer.
ZELVO_PLATFORM_API HRGN CreateRectRgnIndirect(const RECT* rect);
/// A region of the rectangles in `data` (`size` bytes: the header and nCount rectangles), moved
/// and scaled by `xform` when not null. Unlike Windows, a transformation that rotates or shears
/// (eM12 or eM21 not 0) is refused. 0 when the header is not an RDH_RECTANGLES one of the right
/// size or its rectangles do not fit in `size`.
ZELVO_PLATFORM_API HRGN ExtCreateRegion(const XFORM* xform, DWORD size, const RGNDATA* data);
/// Sets `dest` to `source1` combined with `source2` by `mode` (RGN_AND ...; RGN_COPY ignores
/// `source2`); `dest` may be one of the sources. Returns the result's complexity, or ERROR.
ZELVO_PLATFORM_API int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
/// Whether the point lies in the region; FALSE for a stale handle.
ZELVO_PLATFORM_API BOOL PtInRegion(HRGN region, int x, int y);
/// Whether any part of the rectangle lies in the region; FALSE for an empty rectangle.
ZELVO_PLATFORM_API BOOL RectInRegion(HRGN region, const RECT* rect);
/// The region's bounding rectangle (all zero when empty) and its complexity; ERROR for a stale
/// handle or a null `box`.
ZELVO_PLATFORM_API int GetRgnBox(HRGN region, LPRECT box);
/// TRUE when both regions cover the same pixels, FALSE when not, ERROR when a handle is stale.
ZELVO_PLATFORM_API BOOL EqualRgn(HRGN region1, HRGN region2);
/// Moves the region by (`dx`, `dy`); returns its complexity, or ERROR (also when it would leave
/// the coordinate space).
ZELVO_PLATFORM_API int OffsetRgn(HRGN region, int dx, int dy);
/// Writes the region's rectangles (y-x banded) after an RGNDATAHEADER. With a null `data` returns
/// the bytes needed; otherwise `size` on success, 0 when `size` is too small or the handle stale.
ZELVO_PLATFORM_API DWORD GetRegionData(HRGN region, DWORD size, LPRGNDATA data);
/// Makes an existing region the rectangle; FALSE for a stale handle.
ZELVO_PLATFORM_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);

// ---- Rectangles --------------------------------------------------------------------------------

/// @name Rectangle helpers
/// As on Windows: a rectangle holds its left and top edges and not its right and bottom ones; one
/// with right <= left or bottom <= top is empty. A null pointer makes a call fail (FALSE).
///@{

/// Sets the four edges.
ZELVO_PLATFORM_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
/// Sets all four edges to 0.
ZELVO_PLATFORM_API BOOL SetRectEmpty(LPRECT rect);
/// Whether the rectangle is empty (TRUE for a null pointer).
ZELVO_PLATFORM_API BOOL IsRectEmpty(const RECT* rect);
/// Whether the point lies in the rectangle.
ZELVO_PLATFORM_API BOOL PtInRect(const RECT* rect, POINT point);
/// Moves the rectangle by (`dx`, `dy`).
ZELVO_PLATFORM_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
/// Grows each side outwards by `dx` or `dy` (negative values shrink).
ZELVO_PLATFORM_API BOOL InflateRect(LPRECT rect, int dx, int dy);
/// The intersection into `dest`; FALSE (and `dest` emptied) when they do not overlap.
ZELVO_PLATFORM_API BOOL IntersectRect(LPRECT dest, const RECT* source1, const RECT* source2);
/// The smallest rectangle holding both into `dest`, empty sources not counting; FALSE (and `dest`
/// emptied) when both are empty.
ZELVO_PLATFORM_API BOOL UnionRect(LPRECT dest, const RECT* source1, const RECT* source2);
/// Whether the two have the same edges.
ZELVO_PLATFORM_API BOOL EqualRect(const RECT* rect1, const RECT* rect2);
/// Copies `source` into `dest`.
ZELVO_PLATFORM_API BOOL CopyRect(LPRECT dest, const RECT* source);
///@}
