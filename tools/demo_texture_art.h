// The demo's three textures, drawn procedurally with fixed seeds.
#pragma once

#include "image_writers.h"

namespace tools {

// 256 x 256 stone tiles with grout, seamless when repeated.
Image MakeFloorTiles();
// 256 x 256 bluish-grey swirls with transparent gaps (alpha), seamless in both directions.
Image MakeWaterSwirls();
// 512 x 256 sheet of 8 x 4 cells, 64 x 64 each, one soft cloud puff per cell on transparency.
Image MakeCloudSheet();

}  // namespace tools
