// Shaped image buttons: a window with three "IMAGEBUTTON" controls (a star, a blob and an arrow cut
// from magenta-keyed bitmaps). Each lights up under the cursor, sinks while pressed and, when
// clicked, posts WM_COMMAND to the window, which counts the clicks in its title and prints them.
// Escape or closing the window ends the program.
//
// usage: image_buttons [BITMAP_FOLDER]   (default: the folder the build wrote the bitmaps to)
#include <Zelvo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#ifndef IMAGE_BUTTONS_BITMAPS
#define IMAGE_BUTTONS_BITMAPS "."
#endif

namespace {

struct Button {
  const char* name;  // the bitmap files are <name>N.BMP, <name>H.BMP, <name>P.BMP
  int id;
  int x, y;  // requested position in the window's client area
  int clicks;
};

Button buttons[] = {
    {"Star", 101, 24, 40, 0},
    {"Blob", 102, 150, 43, 0},
    {"Arrow", 103, 290, 48, 0},
};

// The window's backdrop, a vertical gradient kept in a memory device context and copied on paint.
HDC backdrop = 0;
HBITMAP backdrop_bitmap = 0;
HGDIOBJ backdrop_default_bitmap = 0;  // the context's own bitmap, put back before deleting ours

void FreeBackdrop() {
  if (backdrop) {
    // A bitmap still selected into a context cannot be deleted.
    if (backdrop_default_bitmap) SelectObject(backdrop, backdrop_default_bitmap);
    DeleteDC(backdrop);
  }
  if (backdrop_bitmap) DeleteObject(backdrop_bitmap);
  backdrop = 0;
  backdrop_bitmap = 0;
  backdrop_default_bitmap = 0;
}

// Replaces the backdrop with one of the given size; the previous one is released first.
void MakeBackdrop(int width, int height) {
  FreeBackdrop();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up: memory row 0 is the bottom row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  backdrop_bitmap = CreateDIBSection(0, &info, DIB_RGB_COLORS, &bits, 0, 0);
  if (!backdrop_bitmap || !bits) return;
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int row = 0; row < height; ++row) {
    const int t = 255 * row / std::max(height - 1, 1);  // 0 at the bottom, 255 at the top
    const uint32_t r = 24 + 40 * t / 255, g = 26 + 44 * t / 255, b = 34 + 60 * t / 255;
    for (int x = 0; x < width; ++x) pixels[size_t(row) * width + x] = r << 16 | g << 8 | b;
  }
  backdrop = CreateCompatibleDC(0);
  if (backdrop) backdrop_default_bitmap = SelectObject(backdrop, backdrop_bitmap);
}

void ShowClicks(HWND window) {
  char title[128];
  std::snprintf(title, sizeof title, "Image buttons - Star %d, Blob %d, Arrow %d",
                buttons[0].clicks, buttons[1].clicks, buttons[2].clicks);
  SetWindowTextA(window, title);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      for (Button& b : buttons) {
        if (int(LOWORD(wParam)) != b.id) continue;
        ++b.clicks;
        std::printf("%s clicked (%d)\n", b.name, b.clicks);
        std::fflush(stdout);
        ShowClicks(window);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client{};
      GetClientRect(window, &client);
      if (dc && backdrop) BitBlt(dc, 0, 0, client.right, client.bottom, backdrop, 0, 0, SRCCOPY);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// The class the framework registers with its main window, for a program without one.
void RegisterImageButtonClass(HINSTANCE instance) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(0, SzHoverClass, &existing)) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = 0;
  wc.lpfnWndProc = HoverButtonHandler;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(0, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(0, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = SzHoverClass;
  wc.hIconSm = LoadIconA(0, IDI_APPLICATION);
  RegisterClassExA(&wc);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : IMAGE_BUTTONS_BITMAPS;
  HINSTANCE instance = GetModuleHandleA(nullptr);

  WNDCLASSA wc{};
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(0, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));  // WM_PAINT draws it all
  wc.lpszClassName = "ImageButtonsExample";
  if (!RegisterClassA(&wc)) {
    std::fprintf(stderr, "image_buttons: cannot register the window class\n");
    return 1;
  }
  RegisterImageButtonClass(instance);

  // A captioned fixed-size window: the buttons keep their requested positions inside it.
  HWND window =
      CreateWindowExA(0, "ImageButtonsExample", "", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                      CW_USEDEFAULT, CW_USEDEFAULT, 440, 190, 0, 0, instance, nullptr);
  if (!window) {
    std::fprintf(stderr, "image_buttons: cannot create the window (is DISPLAY set?)\n");
    return 1;
  }
  ShowClicks(window);
  RECT client{};
  GetClientRect(window, &client);
  MakeBackdrop(client.right, client.bottom);

  for (const Button& b : buttons) {
    BmpType = folder + "/" + b.name;
    // The requested size is replaced by the normal bitmap's size.
    if (!CreateWindowExA(0, SzHoverClass, b.name, WS_CHILD | WS_VISIBLE, b.x, b.y, 1, 1, window,
                         (HMENU)(uintptr_t)b.id, instance, nullptr)) {
      std::fprintf(stderr, "image_buttons: cannot load %sN.BMP, %sH.BMP or %sP.BMP\n",
                   BmpType.c_str(), BmpType.c_str(), BmpType.c_str());
      DestroyWindow(window);
      return 1;
    }
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageA(&msg, 0, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  FreeBackdrop();
  return 0;
}
