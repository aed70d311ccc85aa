// The display's pixel formats: GLX frame-buffer configurations that draw to windows, described as
// descriptors.
#include "pixel_format.h"

#include <algorithm>
#include <bit>

#include "native_backend.h"
#include "x_display.h"

namespace plat {
namespace {

int glx_attribute(Display* d, GLXFBConfig c, int attribute) {
  int value = 0;
  if (glXGetFBConfigAttrib(d, c, attribute, &value) != Success) return 0;
  return value;
}

BYTE clamp_byte(int v) { return static_cast<BYTE>(std::clamp(v, 0, 255)); }

BYTE mask_shift(unsigned long mask) { return mask ? static_cast<BYTE>(std::countr_zero(mask)) : 0; }

std::vector<PixelFormat> enumerate() {
  std::vector<PixelFormat> formats;
  Display* d = x_display();
  if (!d) return formats;
  int major = 0, minor = 0;
  if (!glXQueryVersion(d, &major, &minor) || major < 1 || (major == 1 && minor < 3)) return formats;
  int screen = DefaultScreen(d);
  int root_depth = DefaultDepth(d, screen);
  int count = 0;
  GLXFBConfig* configs = glXGetFBConfigs(d, screen, &count);
  for (int i = 0; i < count; ++i) {
    GLXFBConfig c = configs[i];
    if (glx_attribute(d, c, GLX_LEVEL) != 0) continue;  // overlays cannot hold a window's image
    if (!(glx_attribute(d, c, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT)) continue;
    int render = glx_attribute(d, c, GLX_RENDER_TYPE);
    if (!(render & (GLX_RGBA_BIT | GLX_COLOR_INDEX_BIT))) continue;
    XVisualInfo* vi = glXGetVisualFromFBConfig(d, c);
    if (!vi) continue;

    PixelFormat f;
    f.config = c;
    f.visual = vi->visual;
    f.depth = vi->depth;
    PIXELFORMATDESCRIPTOR& p = f.traits.descriptor;
    p.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    p.nVersion = 1;
    p.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (glx_attribute(d, c, GLX_DOUBLEBUFFER)) p.dwFlags |= PFD_DOUBLEBUFFER;
    if (glx_attribute(d, c, GLX_STEREO)) p.dwFlags |= PFD_STEREO;
    p.iPixelType = (render & GLX_RGBA_BIT) ? PFD_TYPE_RGBA : PFD_TYPE_COLORINDEX;
    p.cColorBits = clamp_byte(glx_attribute(d, c, GLX_BUFFER_SIZE));
    p.cRedBits = clamp_byte(glx_attribute(d, c, GLX_RED_SIZE));
    p.cGreenBits = clamp_byte(glx_attribute(d, c, GLX_GREEN_SIZE));
    p.cBlueBits = clamp_byte(glx_attribute(d, c, GLX_BLUE_SIZE));
    p.cAlphaBits = clamp_byte(glx_attribute(d, c, GLX_ALPHA_SIZE));
    p.cRedShift = mask_shift(vi->red_mask);
    p.cGreenShift = mask_shift(vi->green_mask);
    p.cBlueShift = mask_shift(vi->blue_mask);
    if (p.cAlphaBits) {
      unsigned long rgb = vi->red_mask | vi->green_mask | vi->blue_mask;
      p.cAlphaShift = mask_shift(~rgb & 0xffffffffu);
    }
    p.cAccumRedBits = clamp_byte(glx_attribute(d, c, GLX_ACCUM_RED_SIZE));
    p.cAccumGreenBits = clamp_byte(glx_attribute(d, c, GLX_ACCUM_GREEN_SIZE));
    p.cAccumBlueBits = clamp_byte(glx_attribute(d, c, GLX_ACCUM_BLUE_SIZE));
    p.cAccumAlphaBits = clamp_byte(glx_attribute(d, c, GLX_ACCUM_ALPHA_SIZE));
    p.cAccumBits =
        clamp_byte(p.cAccumRedBits + p.cAccumGreenBits + p.cAccumBlueBits + p.cAccumAlphaBits);
    p.cDepthBits = clamp_byte(glx_attribute(d, c, GLX_DEPTH_SIZE));
    p.cStencilBits = clamp_byte(glx_attribute(d, c, GLX_STENCIL_SIZE));
    p.cAuxBuffers = clamp_byte(glx_attribute(d, c, GLX_AUX_BUFFERS));
    p.iLayerType = PFD_MAIN_PLANE;
    int caveat = glx_attribute(d, c, GLX_CONFIG_CAVEAT);
    f.traits.caveat = caveat == GLX_SLOW_CONFIG ? 1 : caveat == GLX_NON_CONFORMANT_CONFIG ? 2 : 0;
    f.traits.samples = glx_attribute(d, c, GLX_SAMPLES);
    f.traits.native_depth = vi->depth == root_depth;
    XFree(vi);
    formats.push_back(f);
  }
  if (configs) XFree(configs);
  return formats;
}

}  // namespace

const std::vector<PixelFormat>& pixel_formats() {
  static const std::vector<PixelFormat> formats = enumerate();
  return formats;
}

const PixelFormat* pixel_format(int format) {
  const auto& formats = pixel_formats();
  if (format < 1 || static_cast<size_t>(format) > formats.size()) return nullptr;
  return &formats[static_cast<size_t>(format) - 1];
}

const std::vector<PixelFormatTraits>& native_pixel_formats() {
  static const std::vector<PixelFormatTraits> traits = [] {
    std::vector<PixelFormatTraits> out;
    for (const PixelFormat& f : pixel_formats()) out.push_back(f.traits);
    return out;
  }();
  return traits;
}

}  // namespace plat
