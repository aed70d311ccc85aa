// The "IMAGEBUTTON" window procedure: a child control drawn from three bitmaps (normal, hover,
// pressed), cut to the shape of the normal bitmap minus its magenta key. All per-button state lives
// in window properties, so any number of buttons can coexist without window memory.
#include "zelvo/controls.h"

#include <cstring>

std::string BmpType;

namespace {

enum ButtonState : DWORD { kNormal = 1, kHover = 2, kPressed = 3 };

constexpr COLORREF kShapeKey = 0x00FF00FF;  // magenta
constexpr BYTE kShapeTolerance = 1;
// Offsets of a captioned parent's client area inside its whole window: a 3-pixel left frame, and
// top frame plus caption 19 pixels high.
constexpr int kParentFrameX = 3;
constexpr int kParentFrameY = 19;

std::string StateFile(const char* letter) { return BmpType + letter + ".BMP"; }

// The mode is stored as a property value, which is a handle-sized integer on both platforms.
DWORD Mode(HWND button) { return (DWORD)(uintptr_t)GetPropA(button, HoverMode); }

void SetMode(HWND button, DWORD mode) { SetPropA(button, HoverMode, (HANDLE)(uintptr_t)mode); }

void Repaint(HWND button) { InvalidateRect(button, nullptr, FALSE); }

// A memory device context, compatible with the screen, holding the bitmap with its palette
// realized. The context keeps bitmap and palette reachable, so that destruction can release them
// too.
HDC StateContext(HBITMAP bitmap, HPALETTE palette) {
  HDC dc = CreateCompatibleDC(0);
  if (!dc) return 0;
  SelectObject(dc, bitmap);
  if (palette) {
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  return dc;
}

// Deletes a state's memory device context and the bitmap and palette selected into it.
void ReleaseStateContext(HDC dc) {
  HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  HGDIOBJ palette = GetCurrentObject(dc, OBJ_PAL);
  DeleteDC(dc);
  // The defaults of a fresh memory context are stock objects, which DeleteObject leaves alone.
  if (bitmap) DeleteObject(bitmap);
  if (palette) DeleteObject(palette);
}

// Sizes the button to its normal bitmap and keeps the requested position under a captioned parent.
void PlaceButton(HWND button, HBITMAP bitmap) {
  BITMAP info;
  std::memset(&info, 0, sizeof info);
  GetObjectA(bitmap, sizeof info, &info);
  RECT self{}, parent{};
  GetWindowRect(button, &self);
  GetWindowRect(GetParent(button), &parent);
  MoveWindow(button, self.left - parent.left - kParentFrameX, self.top - parent.top - kParentFrameY,
             info.bmWidth, info.bmHeight, FALSE);
}

// Loads one state's bitmap into a new state context and stores it under `property`. False when the
// file can't be loaded or the context can't be made; nothing is left behind then.
bool LoadState(HWND button, const char* letter, const char* property, bool place) {
  HPALETTE palette = 0;
  HBITMAP bitmap = LoadBmpFromFile(StateFile(letter), palette);
  if (!bitmap) return false;
  if (place) PlaceButton(button, bitmap);
  HDC dc = StateContext(bitmap, palette);
  if (!dc) {
    DeleteObject(bitmap);
    if (palette) DeleteObject(palette);
    return false;
  }
  SetPropA(button, property, static_cast<HANDLE>(dc));
  return true;
}

// Removes every property and releases what it holds. Safe on a half-built button.
void ReleaseButton(HWND button) {
  RemovePropA(button, HoverMode);
  if (HRGN region = static_cast<HRGN>(GetPropA(button, ButtonRgn))) DeleteObject(region);
  RemovePropA(button, ButtonRgn);
  for (const char* property : {PressBmp, HoverBmp, NormalBmp}) {
    if (HDC dc = static_cast<HDC>(GetPropA(button, property))) ReleaseStateContext(dc);
    RemovePropA(button, property);
  }
}

LRESULT OnCreate(HWND button) {
  if (!LoadState(button, "N", NormalBmp, true) || !LoadState(button, "H", HoverBmp, false) ||
      !LoadState(button, "P", PressBmp, false)) {
    // Refuse creation: CreateWindowExA then returns 0 and nothing is left behind.
    ReleaseButton(button);
    return -1;
  }
  SetMode(button, kNormal);

  const std::string shape_file = StateFile("N");
  HRGN shape = BitmapToRegion(shape_file, kShapeKey, kShapeTolerance);
  // Without a shape the button stays rectangular and has no hover logic; it still paints and
  // clicks.
  if (!shape) return 0;
  SetWindowRgn(button, shape, FALSE);  // the window owns this region from now on
  SetPropA(button, ButtonRgn,
           static_cast<HANDLE>(BitmapToRegion(shape_file, kShapeKey, kShapeTolerance)));
  return 0;
}

void OnMouseMove(HWND button, WPARAM keys, LPARAM position) {
  HRGN region = static_cast<HRGN>(GetPropA(button, ButtonRgn));
  const DWORD mode = Mode(button);
  if (!region || !mode) return;
  // Both halves unsigned: negative coordinates, seen while the button holds the capture, lie
  // outside.
  const int x = LOWORD(position);
  const int y = HIWORD(position);
  if (PtInRegion(region, x, y)) {
    if (mode != kNormal) return;
    SetMode(button, (keys & (MK_LBUTTON | MK_RBUTTON)) ? kPressed : kHover);
    // Holding the capture is how a shaped window learns that the cursor has left it.
    SetCapture(button);
  } else {
    SetMode(button, kNormal);
    ReleaseCapture();
  }
  Repaint(button);
}

void OnLeftButtonUp(HWND button) {
  if (Mode(button) == kPressed)
    PostMessageA(GetParent(button), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(button)), 0);
  SetMode(button, kNormal);
  ReleaseCapture();
  Repaint(button);
}

void OnPaint(HWND button) {
  RECT bounds{};
  GetWindowRect(button, &bounds);
  HDC source = 0;
  switch (Mode(button)) {
    case kNormal:
      source = static_cast<HDC>(GetPropA(button, NormalBmp));
      break;
    case kHover:
      source = static_cast<HDC>(GetPropA(button, HoverBmp));
      break;
    case kPressed:
      source = static_cast<HDC>(GetPropA(button, PressBmp));
      break;
    default:
      break;
  }
  // Begin and end the paint even with nothing to draw: that validates the window, so no further
  // WM_PAINT follows.
  PAINTSTRUCT paint;
  HDC target = BeginPaint(button, &paint);
  if (source && target)
    BitBlt(target, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, source, 0, 0,
           SRCCOPY);
  EndPaint(button, &paint);
}

}  // namespace

LRESULT CALLBACK HoverButtonHandler(HWND Wnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  switch (iMsg) {
    case WM_CREATE:
      return OnCreate(Wnd);
    case WM_MOUSEMOVE:
      OnMouseMove(Wnd, wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(Wnd);
      SetMode(Wnd, kPressed);
      Repaint(Wnd);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp(Wnd);
      return 0;
    case WM_PAINT:
      OnPaint(Wnd);
      return 0;
    case WM_DESTROY:
      ReleaseButton(Wnd);
      return 0;
    default:
      return DefWindowProcA(Wnd, iMsg, wParam, lParam);
  }
}
