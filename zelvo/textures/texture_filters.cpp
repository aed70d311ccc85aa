// Filters shared by the BMP and TGA tables, and the test for a mipmapping minification filter.
#include "texture_filters.h"

#include "zelvo/textures.h"

int32_t GL_Min_Filter = GL_LINEAR;
int32_t GL_Mag_Filter = GL_LINEAR;

namespace zelvo {

bool IsMipmapFilter(int32_t filter) {
  return filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_NEAREST_MIPMAP_LINEAR ||
         filter == GL_LINEAR_MIPMAP_NEAREST || filter == GL_LINEAR_MIPMAP_LINEAR;
}

}  // namespace zelvo
