// The choice of the pixel format closest to a descriptor, as the real platform chooses: the
// requirements filter, the preferences rank. Pure core logic over formats described here.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "pixel_format_choice.h"
#include "wgl_setup.h"

namespace {

using zelvo_test::framework_descriptor;

plat::PixelFormatTraits traits(DWORD flags, int color, int alpha, int depth, int stencil,
                               int caveat = 0) {
  plat::PixelFormatTraits t;
  t.descriptor.nSize = 40;
  t.descriptor.dwFlags = flags;
  t.descriptor.iPixelType = PFD_TYPE_RGBA;
  t.descriptor.cColorBits = static_cast<BYTE>(color);
  t.descriptor.cAlphaBits = static_cast<BYTE>(alpha);
  t.descriptor.cDepthBits = static_cast<BYTE>(depth);
  t.descriptor.cStencilBits = static_cast<BYTE>(stencil);
  t.caveat = caveat;
  return t;
}

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

}  // namespace

TEST(PixelFormatChoice, RequirementsFilterAndPreferencesRank) {
  std::vector<plat::PixelFormatTraits> formats = {
      traits(kWindowGL, 32, 8, 0, 0),                         // 1: no depth, single
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 0, 0),      // 2: no depth
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 24, 8, 1),  // 3: slow
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 16, 0),     // 4
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 24, 0),     // 5
      traits(kWindowGL | PFD_DOUBLEBUFFER, 32, 8, 24, 8),     // 6: the best for 32/32/32
      traits(kWindowGL | PFD_DOUBLEBUFFER, 16, 0, 24, 8),     // 7: fewer colour bits
  };
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 6);

  // Depth 16 asked: the smallest depth that covers it wins over a deeper one.
  request.cDepthBits = 16;
  request.cStencilBits = 0;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 4);

  // Double buffering required: the single-buffered format is never chosen even when it fits best.
  request = framework_descriptor();
  request.cDepthBits = request.cStencilBits = 0;
  request.cColorBits = 32;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 2);
  request.dwFlags &= ~PFD_DOUBLEBUFFER;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 1);

  // A colour-index request has nothing to match; an empty list neither.
  request.iPixelType = PFD_TYPE_COLORINDEX;
  EXPECT_EQ(plat::choose_pixel_format(formats, request), 0);
  EXPECT_EQ(plat::choose_pixel_format({}, framework_descriptor()), 0);

  // Only a slow format meets the requirements: it is still returned rather than nothing.
  std::vector<plat::PixelFormatTraits> slow_only = {
      traits(kWindowGL | PFD_DOUBLEBUFFER, 24, 0, 24, 8, 1)};
  EXPECT_EQ(plat::choose_pixel_format(slow_only, framework_descriptor()), 1);
}
