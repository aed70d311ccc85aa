/// @file
/// Pixel formats as the core knows them: descriptors, the choice of the one closest to a request,
/// and the format a window has.
#pragma once

#include <windows.h>

#include <vector>

namespace plat {

/// What the choice weighs about one format beyond its descriptor.
struct PixelFormatTraits {
  PIXELFORMATDESCRIPTOR descriptor{};
  int caveat = 0;            ///< 0 none, 1 slow, 2 non-conformant
  int samples = 0;           ///< multisampling, which nobody asks for through a descriptor
  bool native_depth = true;  ///< its visual has the screen's depth (no alpha-blended window)
};

/// The 1-based index of the best format in `formats` for `request`, 0 when none meets the
/// requirements.
int choose_pixel_format(const std::vector<PixelFormatTraits>& formats,
                        const PIXELFORMATDESCRIPTOR& request);

/// The format SetPixelFormat gave the window; 0 when none (or the window is gone).
int window_pixel_format(HWND window);

}  // namespace plat
