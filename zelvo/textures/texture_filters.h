// Helpers of the two texture tables.
#pragma once

#include <cstdint>

namespace zelvo {

// One of the four minification filters that sample mipmap levels.
bool IsMipmapFilter(int32_t filter);

}  // namespace zelvo
