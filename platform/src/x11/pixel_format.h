// The display's pixel formats as GLX frame-buffer configurations with their visuals.
#pragma once

#include <windows.h>
#include <GL/glx.h>

#include <vector>

#include "pixel_format_choice.h"

namespace plat {

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

}  // namespace plat
