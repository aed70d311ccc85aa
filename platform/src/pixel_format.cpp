// The display's pixel formats: GLX frame-buffer configurations that draw to windows, described as
// descriptors and chosen the way the real platform chooses them.
#include "error_codes.h"
#include "pixel_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "gdi_internal.h"
#include "x_display.h"

namespace plat {
namespace {

// Lower is better, compared element by element: the most important preference first.
using Score = std::array<long, 24>;

long deficit(int requested, int have) { return requested > have ? requested - have : 0; }
long excess(int requested, int have) { return have > requested ? have - requested : 0; }
long missing(int requested, int have) { return requested > 0 && have == 0 ? 1 : 0; }

bool meets_requirements(const PIXELFORMATDESCRIPTOR& f, const PIXELFORMATDESCRIPTOR& r) {
  DWORD want = r.dwFlags;
  if ((want & PFD_DRAW_TO_WINDOW) && !(f.dwFlags & PFD_DRAW_TO_WINDOW)) return false;
  if ((want & PFD_SUPPORT_OPENGL) && !(f.dwFlags & PFD_SUPPORT_OPENGL)) return false;
  if ((want & PFD_DOUBLEBUFFER) && !(want & PFD_DOUBLEBUFFER_DONTCARE) &&
      !(f.dwFlags & PFD_DOUBLEBUFFER))
    return false;
  return f.iPixelType == r.iPixelType;
}

Score score(const PixelFormatTraits& t, const PIXELFORMATDESCRIPTOR& r) {
  const PIXELFORMATDESCRIPTOR& f = t.descriptor;
  DWORD want = r.dwFlags;
  bool depth_matters = !(want & PFD_DEPTH_DONTCARE);
  int want_depth = depth_matters ? r.cDepthBits : 0;
  long double_mismatch = 0;
  if (!(want & PFD_DOUBLEBUFFER_DONTCARE))
    double_mismatch = ((want & PFD_DOUBLEBUFFER) != 0) != ((f.dwFlags & PFD_DOUBLEBUFFER) != 0);
  long stereo_mismatch = 0;
  if (!(want & PFD_STEREO_DONTCARE))
    stereo_mismatch = ((want & PFD_STEREO) != 0) != ((f.dwFlags & PFD_STEREO) != 0);
  long layer_mismatch = static_cast<int8_t>(r.iLayerType) != static_cast<int8_t>(f.iLayerType);
  return Score{
      t.caveat,
      t.native_depth ? 0 : 1,
      missing(want_depth, f.cDepthBits),
      deficit(r.cColorBits, f.cColorBits),
      missing(r.cAlphaBits, f.cAlphaBits),
      deficit(want_depth, f.cDepthBits),
      missing(r.cStencilBits, f.cStencilBits),
      deficit(r.cStencilBits, f.cStencilBits),
      deficit(r.cAlphaBits, f.cAlphaBits),
      double_mismatch,
      stereo_mismatch,
      missing(r.cAccumBits, f.cAccumBits),
      deficit(r.cAccumBits, f.cAccumBits),
      deficit(r.cAuxBuffers, f.cAuxBuffers),
      layer_mismatch,
      t.samples,
      excess(r.cColorBits, f.cColorBits),
      excess(r.cAlphaBits, f.cAlphaBits),
      depth_matters ? excess(want_depth, f.cDepthBits) : 0,
      excess(r.cStencilBits, f.cStencilBits),
      excess(r.cAccumBits, f.cAccumBits),
      excess(r.cAuxBuffers, f.cAuxBuffers),
      0,
      0,
  };
}

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

int choose_pixel_format(const std::vector<PixelFormatTraits>& formats,
                        const PIXELFORMATDESCRIPTOR& request) {
  int best = 0;
  Score best_score{};
  for (size_t i = 0; i < formats.size(); ++i) {
    if (!meets_requirements(formats[i].descriptor, request)) continue;
    Score s = score(formats[i], request);
    if (best == 0 || s < best_score) {
      best = static_cast<int>(i) + 1;
      best_score = s;
    }
  }
  return best;
}

const std::vector<PixelFormat>& pixel_formats() {
  static const std::vector<PixelFormat> formats = enumerate();
  return formats;
}

const PixelFormat* pixel_format(int format) {
  const auto& formats = pixel_formats();
  if (format < 1 || static_cast<size_t>(format) > formats.size()) return nullptr;
  return &formats[static_cast<size_t>(format) - 1];
}

}  // namespace plat

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) {
    SetLastError(plat::kErrorInvalidHandle);
    return 0;
  }
  if (!descriptor) return 0;
  const auto& formats = plat::pixel_formats();
  std::vector<plat::PixelFormatTraits> traits;
  traits.reserve(formats.size());
  for (const auto& f : formats) traits.push_back(f.traits);
  return plat::choose_pixel_format(traits, *descriptor);
}

int DescribePixelFormat(HDC dc, int format, UINT bytes, LPPIXELFORMATDESCRIPTOR descriptor) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) {
    SetLastError(plat::kErrorInvalidHandle);
    return 0;
  }
  int count = static_cast<int>(plat::pixel_formats().size());
  // A null descriptor only asks for the count, whatever the format number.
  if (!descriptor) return count;
  const plat::PixelFormat* f = plat::pixel_format(format);
  if (!f) return 0;
  std::memcpy(descriptor, &f->traits.descriptor,
              std::min<size_t>(bytes, sizeof(PIXELFORMATDESCRIPTOR)));
  return count;
}
