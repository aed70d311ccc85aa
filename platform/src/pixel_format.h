// The display's pixel formats, and the choice of the one closest to a descriptor.
#pragma once

#include <windows.h>
#include <GL/glx.h>

#include <vector>

namespace plat {

// What the choice weighs about one format beyond its descriptor.
struct PixelFormatTraits {
  PIXELFORMATDESCRIPTOR descriptor{};
  int caveat = 0;            // 0 none, 1 slow, 2 non-conformant
  int samples = 0;           // multisampling, which nobody asks for through a descriptor
  bool native_depth = true;  // its visual has the screen's depth (no alpha-blended window)
};

// The 1-based index of the best format in `formats` for `request`, 0 when none meets the
// requirements.
int choose_pixel_format(const std::vector<PixelFormatTraits>& formats,
                        const PIXELFORMATDESCRIPTOR& request);

struct PixelFormat {
  PixelFormatTraits traits;
  GLXFBConfig config = nullptr;
  Visual* visual = nullptr;
  int depth = 0;  // of the visual
};

// The formats of the default screen, in a fixed order (index + 1 is the format number); empty
// without a display or GLX.
const std::vector<PixelFormat>& pixel_formats();

// Format `format` (1-based), or nullptr when out of range.
const PixelFormat* pixel_format(int format);

// The format SetPixelFormat gave the window; 0 when none (or the window is gone).
int window_pixel_format(HWND window);

}  // namespace plat
