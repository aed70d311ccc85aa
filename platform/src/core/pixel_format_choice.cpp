// Pixel formats chosen and described the way the real platform does it, from the formats the
// backend offers.
#include "pixel_format_choice.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "error_codes.h"
#include "gdi_internal.h"
#include "native_backend.h"

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

}  // namespace plat

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) {
    SetLastError(plat::kErrorInvalidHandle);
    return 0;
  }
  if (!descriptor) return 0;
  return plat::choose_pixel_format(plat::native_pixel_formats(), *descriptor);
}

int DescribePixelFormat(HDC dc, int format, UINT bytes, LPPIXELFORMATDESCRIPTOR descriptor) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) {
    SetLastError(plat::kErrorInvalidHandle);
    return 0;
  }
  const auto& formats = plat::native_pixel_formats();
  int count = static_cast<int>(formats.size());
  // A null descriptor only asks for the count, whatever the format number.
  if (!descriptor) return count;
  if (format < 1 || format > count) return 0;
  std::memcpy(descriptor, &formats[static_cast<size_t>(format) - 1].descriptor,
              std::min<size_t>(bytes, sizeof(PIXELFORMATDESCRIPTOR)));
  return count;
}
