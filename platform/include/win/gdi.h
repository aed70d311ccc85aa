// Graphics services: device contexts, bitmaps and DIB sections, palettes, regions, BitBlt, brushes,
// and the rectangle helpers.
#pragma once

#include "base.h"

// ---- Records
// --------------------------------------------------------------------------------------

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAPCOREHEADER {
  DWORD bcSize;
  WORD bcWidth;
  WORD bcHeight;
  WORD bcPlanes;
  WORD bcBitCount;
} BITMAPCOREHEADER;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagCIEXYZ {
  LONG ciexyzX, ciexyzY, ciexyzZ;
} CIEXYZ;
typedef struct tagCIEXYZTRIPLE {
  CIEXYZ ciexyzRed, ciexyzGreen, ciexyzBlue;
} CIEXYZTRIPLE;

typedef struct {
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
} BITMAPV4HEADER;

typedef struct {
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
} BITMAPV5HEADER;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;

typedef struct tagRGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
} RGBTRIPLE;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

typedef struct tagDIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
} DIBSECTION;

typedef struct tagPALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *LPLOGPALETTE;

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
} LOGBRUSH;

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN;

typedef struct _RGNDATAHEADER {
  DWORD dwSize;
  DWORD iType;
  DWORD nCount;
  DWORD nRgnSize;
  RECT rcBound;
} RGNDATAHEADER;

typedef struct _RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
} RGNDATA, *PRGNDATA, *LPRGNDATA;

typedef struct tagXFORM {
  FLOAT eM11, eM12, eM21, eM22, eDx, eDy;
} XFORM;

// ---- Constants
// ------------------------------------------------------------------------------------

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3

#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

#define SRCCOPY 0x00CC0020u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// Region results. Windows makes ERROR a macro; here it is a constant of the same value, so that a
// program keeps the use of the name inside its own scopes (an enumerator of a scoped enumeration, a
// member, a namespace). A program that defines an ERROR macro of its own before this header keeps
// its macro.
#ifndef ERROR
inline constexpr int ERROR = 0;
#endif
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR

#define RDH_RECTANGLES 1

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2

#define LR_DEFAULTCOLOR 0x0000
#define LR_MONOCHROME 0x0001
#define LR_LOADFROMFILE 0x0010
#define LR_LOADTRANSPARENT 0x0020
#define LR_DEFAULTSIZE 0x0040
#define LR_CREATEDIBSECTION 0x2000

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

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define PS_SOLID 0
#define PS_NULL 5

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

#define HGDI_ERROR 0xFFFFFFFFu
#define CLR_INVALID 0xFFFFFFFFu
#define GDI_ERROR 0xFFFFFFFFu

// ---- Device contexts
// ------------------------------------------------------------------------------

// A device context for the window's client area; GetDC(0) gives one for the screen. Each call makes
// a new context, which ReleaseDC releases. Returns 0 for a destroyed window.
ZELVO_PLATFORM_API HDC GetDC(HWND window);
ZELVO_PLATFORM_API int ReleaseDC(HWND window, HDC dc);

// A memory device context holding a 1 x 1 monochrome bitmap until another bitmap is selected into
// it.
ZELVO_PLATFORM_API HDC CreateCompatibleDC(HDC dc);
ZELVO_PLATFORM_API BOOL DeleteDC(HDC dc);
// Bitmaps (memory contexts only, one context at a time), brushes and pens return the previous
// object; a region becomes the context's clipping region (a copy) and the result is its complexity.
// Fails with 0 (HGDI_ERROR for a region).
ZELVO_PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
ZELVO_PLATFORM_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
ZELVO_PLATFORM_API DWORD GetObjectType(HGDIOBJ object);

// ---- Bitmaps
// --------------------------------------------------------------------------------------

// Only LR_LOADFROMFILE bitmaps are offered: the file becomes a DIB section of its own depth, with
// rows bottom-up and positive bmHeight whatever the file's row order. The module handle is ignored.
ZELVO_PLATFORM_API HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy,
                                     UINT flags);
#define LoadImage LoadImageA

ZELVO_PLATFORM_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                            HANDLE section, DWORD offset);
ZELVO_PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel,
                                        const void* bits);
ZELVO_PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
ZELVO_PLATFORM_API UINT GetDIBColorTable(HDC dc, UINT first, UINT count, RGBQUAD* colors);
ZELVO_PLATFORM_API UINT SetDIBColorTable(HDC dc, UINT first, UINT count, const RGBQUAD* colors);

// BITMAP (or DIBSECTION) for bitmaps, the WORD entry count for palettes, LOGBRUSH, LOGPEN. With a
// null buffer the size needed; 0 for stale handles.
ZELVO_PLATFORM_API int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectA
// Frees bitmaps, palettes, regions, brushes and pens. Stock objects stay (TRUE); an object selected
// into a device context is not deleted (FALSE).
ZELVO_PLATFORM_API BOOL DeleteObject(HGDIOBJ object);

ZELVO_PLATFORM_API BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source,
                               int source_x, int source_y, DWORD rop);

// ---- Palettes
// -------------------------------------------------------------------------------------

ZELVO_PLATFORM_API HPALETTE CreatePalette(const LOGPALETTE* palette);
ZELVO_PLATFORM_API HPALETTE CreateHalftonePalette(HDC dc);
ZELVO_PLATFORM_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL force_background);
ZELVO_PLATFORM_API UINT RealizePalette(HDC dc);
ZELVO_PLATFORM_API UINT GetPaletteEntries(HPALETTE palette, UINT first, UINT count,
                                          LPPALETTEENTRY entries);

// ---- Stock objects, brushes, system colours
// --------------------------------------------------------

ZELVO_PLATFORM_API HGDIOBJ GetStockObject(int index);
ZELVO_PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
ZELVO_PLATFORM_API DWORD GetSysColor(int index);
ZELVO_PLATFORM_API HBRUSH GetSysColorBrush(int index);

// ---- Regions
// --------------------------------------------------------------------------------------

ZELVO_PLATFORM_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
ZELVO_PLATFORM_API HRGN CreateRectRgnIndirect(const RECT* rect);
ZELVO_PLATFORM_API HRGN ExtCreateRegion(const XFORM* xform, DWORD size, const RGNDATA* data);
ZELVO_PLATFORM_API int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
ZELVO_PLATFORM_API BOOL PtInRegion(HRGN region, int x, int y);
ZELVO_PLATFORM_API BOOL RectInRegion(HRGN region, const RECT* rect);
ZELVO_PLATFORM_API int GetRgnBox(HRGN region, LPRECT box);
ZELVO_PLATFORM_API BOOL EqualRgn(HRGN region1, HRGN region2);
ZELVO_PLATFORM_API int OffsetRgn(HRGN region, int dx, int dy);
ZELVO_PLATFORM_API DWORD GetRegionData(HRGN region, DWORD size, LPRGNDATA data);
ZELVO_PLATFORM_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);

// ---- Rectangles
// -----------------------------------------------------------------------------------

ZELVO_PLATFORM_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
ZELVO_PLATFORM_API BOOL SetRectEmpty(LPRECT rect);
ZELVO_PLATFORM_API BOOL IsRectEmpty(const RECT* rect);
ZELVO_PLATFORM_API BOOL PtInRect(const RECT* rect, POINT point);
ZELVO_PLATFORM_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
ZELVO_PLATFORM_API BOOL InflateRect(LPRECT rect, int dx, int dy);
ZELVO_PLATFORM_API BOOL IntersectRect(LPRECT dest, const RECT* source1, const RECT* source2);
ZELVO_PLATFORM_API BOOL UnionRect(LPRECT dest, const RECT* source1, const RECT* source2);
ZELVO_PLATFORM_API BOOL EqualRect(const RECT* rect1, const RECT* rect2);
ZELVO_PLATFORM_API BOOL CopyRect(LPRECT dest, const RECT* source);
