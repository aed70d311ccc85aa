// Live objects by kind, for the controls' leak checks. Our layer counts them in its handle table;
// Windows has no count by kind (GetGuiResources gives one total, and it stays 0 under Wine), so
// there every count reads 0 and the tests make their leak checks only where kCountsObjects holds.
#pragma once

#include <cstddef>
#include <ostream>

#ifndef _WIN32
#include "handle_table.h"
#endif

namespace ctrl_test {

#ifdef _WIN32
inline constexpr bool kCountsObjects = false;
#else
inline constexpr bool kCountsObjects = true;
#endif

struct LiveObjects {
#ifdef _WIN32
  size_t bitmaps = 0, palettes = 0, regions = 0, contexts = 0, globals = 0, windows = 0;
#else
  size_t bitmaps = plat::handle_count(plat::Kind::Bitmap);
  size_t palettes = plat::handle_count(plat::Kind::Palette);
  size_t regions = plat::handle_count(plat::Kind::Region);
  size_t contexts = plat::handle_count(plat::Kind::DC);
  size_t globals = plat::handle_count(plat::Kind::Global);
  size_t windows = plat::handle_count(plat::Kind::Window);
#endif
  bool operator==(const LiveObjects&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const LiveObjects& o) {
  return out << "bitmaps " << o.bitmaps << ", palettes " << o.palettes << ", regions " << o.regions
             << ", DCs " << o.contexts << ", globals " << o.globals << ", windows " << o.windows;
}

}  // namespace ctrl_test
