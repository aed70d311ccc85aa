// Regions cut from colour-keyed BMP files.
#include <gtest/gtest.h>
#ifdef _WIN32
#define PSAPI_VERSION 2  // K32GetProcessMemoryInfo, from kernel32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <random>

#include <Zelvo.h>

#include "bmp_writer.h"
#include "controls/bitmap_to_region.h"
#include "live_objects.h"
#include "temp_dir.h"
#include "wine_differences.h"

using namespace ctrl_test;
using namespace zelvo_test;

namespace {

constexpr COLORREF kMagentaKey = 0x00FF00FF;

struct Run {
  int left, right, y;
};

// The opaque runs of a picture, found independently of the code under test.
std::vector<Run> OpaqueRuns(const Picture& p, Rgb key, int tolerance) {
  auto inside = [](int v, int low, int tol) { return v >= low && v <= std::min(low + tol, 255); };
  auto clear = [&](Rgb c) {
    return inside(c.r, key.r, tolerance) && inside(c.g, key.g, tolerance) &&
           inside(c.b, key.b, tolerance);
  };
  std::vector<Run> runs;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width;) {
      if (clear(p.at(x, y))) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < p.width && !clear(p.at(x, y))) ++x;
      runs.push_back({start, x, y});
    }
  }
  return runs;
}

// The same runs made into one region in a single request.
HRGN RegionAtOnce(const std::vector<Run>& runs) {
  std::vector<uint8_t> block(sizeof(RGNDATAHEADER) +
                             sizeof(RECT) * std::max<size_t>(runs.size(), 1));
  auto* data = reinterpret_cast<RGNDATA*>(block.data());
  data->rdh =
      RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(runs.size()), 0, {0, 0, 0, 0}};
  auto* rects = reinterpret_cast<RECT*>(data->Buffer);
  for (size_t i = 0; i < runs.size(); ++i) {
    rects[i] = RECT{runs[i].left, runs[i].y, runs[i].right, runs[i].y + 1};
    UnionRect(&data->rdh.rcBound, &data->rdh.rcBound, &rects[i]);
  }
  return ExtCreateRegion(nullptr, DWORD(block.size()), data);
}

// Every pixel is in the region exactly when it is opaque.
void ExpectPixelExact(HRGN region, const Picture& p, Rgb key, int tolerance) {
  std::vector<uint8_t> opaque(size_t(p.width) * p.height, 0);
  for (const Run& r : OpaqueRuns(p, key, tolerance))
    for (int x = r.left; x < r.right; ++x) opaque[size_t(r.y) * p.width + x] = 1;
  int wrong = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (bool(PtInRegion(region, x, y)) != bool(opaque[size_t(y) * p.width + x]) && ++wrong < 10)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") should be "
                      << (opaque[size_t(y) * p.width + x] ? "in" : "out of") << " the region";
  EXPECT_EQ(wrong, 0);
  // Nothing outside the picture.
  RECT box{};
  GetRgnBox(region, &box);
  if (!IsRectEmpty(&box)) {
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, p.width);
    EXPECT_LE(box.bottom, p.height);
  }
}

// The highest resident size the process has had, in kB.
long PeakMemoryKb() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

class BitmapToRegionTest : public ::testing::Test {
 protected:
  HRGN Cut(const Picture& p, COLORREF key, BYTE tolerance, int bits = 24) {
    const std::string file = dir_ / ("picture" + std::to_string(serial_++) + ".bmp");
    WriteBmp(file, p, bits);
    HRGN region = BitmapToRegion(file, key, tolerance);
    if (region) made_.push_back(region);
    return region;
  }
  ~BitmapToRegionTest() override {
    for (HRGN r : made_) DeleteObject(r);
  }
  TempDir dir_;
  int serial_ = 0;
  std::vector<HRGN> made_;
};

TEST_F(BitmapToRegionTest, FullyOpaqueBitmapIsItsWholeRectangle) {
  Picture p(33, 17, Rgb{0, 128, 0});
  HRGN region = Cut(p, kMagentaKey, 1);
  ASSERT_TRUE(region);
  HRGN whole = CreateRectRgn(0, 0, 33, 17);
  EXPECT_TRUE(EqualRgn(region, whole));
  DeleteObject(whole);
  RECT box{};
  EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION);
}

TEST_F(BitmapToRegionTest, AllKeyBitmapGivesAnEmptyRegionNotZero) {
  Picture p(40, 30, kMagenta);
  HRGN region = Cut(p, kMagentaKey, 1);
  ASSERT_TRUE(region);
  RECT box{};
  EXPECT_EQ(GetRgnBox(region, &box), NULLREGION);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
}

TEST_F(BitmapToRegionTest, MagentaWithToleranceOneKeepsOnlyTheUpperNeighbours) {
  Picture p(6, 1, kMagenta);
  p.at(0, 0) = Rgb{255, 0, 255};  // key: out
  p.at(1, 0) = Rgb{255, 1, 255};  // green within tolerance: out
  p.at(2, 0) = Rgb{255, 2, 255};  // green beyond tolerance: in
  p.at(3, 0) = Rgb{254, 0, 255};  // red below the key: in
  p.at(4, 0) = Rgb{255, 0, 254};  // blue below the key: in
  p.at(5, 0) = Rgb{255, 1, 255};  // out
  HRGN region = Cut(p, kMagentaKey, 1);
  ASSERT_TRUE(region);
  const bool expected[] = {false, false, true, true, true, false};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(bool(PtInRegion(region, x, 0)), expected[x]) << x;
  ExpectPixelExact(region, p, kMagenta, 1);
}

TEST_F(BitmapToRegionTest, ToleranceRangeIsClampedAt255) {
  // Key red 250, green 0, blue 0 with tolerance 10: red 250..255 is transparent, 249 is not.
  Picture p(10, 2, Rgb{0, 0, 0});
  const uint8_t reds[] = {249, 250, 251, 255, 249, 252, 254, 200, 255, 250};
  for (int x = 0; x < 10; ++x) p.at(x, 0) = Rgb{reds[x], 5, 10};
  for (int x = 0; x < 10; ++x) p.at(x, 1) = Rgb{252, uint8_t(x + 5), 0};  // green 5..14
  HRGN region = Cut(p, RGB(250, 0, 0), 10);
  ASSERT_TRUE(region);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(bool(PtInRegion(region, x, 0)), reds[x] < 250) << x;
  for (int x = 0; x < 10; ++x) EXPECT_EQ(bool(PtInRegion(region, x, 1)), x + 5 > 10) << x;
  ExpectPixelExact(region, p, Rgb{250, 0, 0}, 10);
}

TEST_F(BitmapToRegionTest, AlternatingRowGivesOnePixelPerRunUpToTheRightEdge) {
  Picture p(11, 1, kMagenta);
  for (int x = 0; x < 11; x += 2) p.at(x, 0) = Rgb{30, 60, 90};
  HRGN region = Cut(p, kMagentaKey, 1);
  ASSERT_TRUE(region);
  ExpectPixelExact(region, p, kMagenta, 1);
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 11);  // the last run reaches the edge
  HRGN expected = RegionAtOnce(OpaqueRuns(p, kMagenta, 1));
  EXPECT_TRUE(EqualRgn(region, expected));
  DeleteObject(expected);
}

TEST_F(BitmapToRegionTest, TopRowOfThePictureIsYZero) {
  Picture p(20, 12, kMagenta);
  for (int x = 3; x < 9; ++x) p.at(x, 0) = Rgb{0, 0, 0};
  p.at(19, 11) = Rgb{1, 1, 1};
  HRGN region = Cut(p, kMagentaKey, 1);
  ASSERT_TRUE(region);
  EXPECT_TRUE(PtInRegion(region, 3, 0));
  EXPECT_FALSE(PtInRegion(region, 3, 11));
  EXPECT_TRUE(PtInRegion(region, 19, 11));
  ExpectPixelExact(region, p, kMagenta, 1);
}

TEST_F(BitmapToRegionTest, ManyBatchesGiveTheSameRegionAsOneRequest) {
  // Some 5800 runs: the rectangle block grows several times on the way. Rows differ so that no
  // two neighbouring rows coalesce into one band.
  Picture p(201, 70, kMagenta);
  for (int y = 0; y < p.height; ++y)
    for (int x = (y % 3); x < p.width; x += 2 + (y % 2))
      p.at(x, y) = Rgb{uint8_t(x), uint8_t(y), 7};
  const auto runs = OpaqueRuns(p, kMagenta, 1);
  ASSERT_GT(runs.size(), 4000u);
  HRGN region = Cut(p, kMagentaKey, 1);
  ASSERT_TRUE(region);
  HRGN expected = RegionAtOnce(runs);
  ASSERT_TRUE(expected);
  EXPECT_TRUE(EqualRgn(region, expected));
  DeleteObject(expected);
  ExpectPixelExact(region, p, kMagenta, 1);
}

TEST_F(BitmapToRegionTest, ExactlyOneFullBatchStillWorks) {
  // 2000 runs exactly, the size of a request batch in earlier builders.
  Picture p(200, 20, kMagenta);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 200; x += 2) p.at(x, y) = Rgb{0, uint8_t(y), 0};
  ASSERT_EQ(OpaqueRuns(p, kMagenta, 1).size(), 2000u);
  HRGN region = Cut(p, kMagentaKey, 1);
  ASSERT_TRUE(region);
  ExpectPixelExact(region, p, kMagenta, 1);
}

TEST_F(BitmapToRegionTest, EverySourceDepthGivesTheSameRegion) {
  // Two colours only, so that 1-bit files can hold the picture; a star-like blob on the key.
  Picture p(45, 29, kMagenta);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const int dx = x - 22, dy = y - 14;
      if (dx * dx + dy * dy < 150 || (std::abs(dx) < 2) || (y % 7 == 3 && x % 5 != 0))
        p.at(x, y) = Rgb{0, 0, 255};
    }
  HRGN reference = Cut(p, kMagentaKey, 1, 24);
  ASSERT_TRUE(reference);
  ExpectPixelExact(reference, p, kMagenta, 1);
  for (int bits : {1, 4, 8, 16, 32}) {
    SCOPED_TRACE(bits);
    HRGN region = Cut(p, kMagentaKey, 1, bits);
    ASSERT_TRUE(region);
    EXPECT_TRUE(EqualRgn(region, reference));
  }
}

TEST_F(BitmapToRegionTest, PicturesTallerThanOneWorkingStripAreCutWhole) {
  // 1500 pixels wide: the working image holds a few dozen rows at a time, so 301 rows take several
  // strips and a partial last one. A disc with a diagonal stripe crosses every strip boundary.
  Picture p(1500, 301, kMagenta);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const int dx = x - 750, dy = y - 150;
      if (dx * dx + 9 * dy * dy < 600 * 600 || (x + 3 * y) % 97 < 5) p.at(x, y) = Rgb{0, 0, 255};
    }
  for (int bits : {24, 4}) {
    SCOPED_TRACE(bits);
    HRGN region = Cut(p, kMagentaKey, 1, bits);
    ASSERT_TRUE(region);
    HRGN expected = RegionAtOnce(OpaqueRuns(p, kMagenta, 1));
    ASSERT_TRUE(expected);
    EXPECT_TRUE(EqualRgn(region, expected));
    DeleteObject(expected);
  }
}

// The canonical form of the region of `runs`, worked out here without the region service: rows
// whose runs are identical and adjacent make one band, and each band lists its runs left to right.
std::vector<RECT> CanonicalBands(const std::vector<Run>& runs, int height) {
  std::vector<std::vector<std::pair<int, int>>> rows(height);
  for (const Run& r : runs) rows[r.y].push_back({r.left, r.right});
  std::vector<RECT> rects;
  for (int y = 0; y < height;) {
    int end = y + 1;
    while (end < height && rows[end] == rows[y]) ++end;
    for (auto [left, right] : rows[y]) rects.push_back(RECT{left, y, right, end});
    y = end;
  }
  return rects;
}

std::vector<RECT> RegionRects(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<uint8_t> block(size);
  auto* data = reinterpret_cast<RGNDATA*>(block.data());
  if (size < sizeof(RGNDATAHEADER) || GetRegionData(region, size, data) != size) return {};
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

TEST_F(BitmapToRegionTest, HardMasksGiveExactlyTheBandsOfTheirRuns) {
  // Tall enough for two working strips; every kind of shape the builder must stay linear on.
  const int w = 301, h = 260;
  const Rgb ink{20, 40, 60};
  std::vector<std::pair<const char*, Picture>> masks;
  masks.emplace_back("solid", Picture(w, h, ink));
  Picture ring(w, h, kMagenta), random(w, h, kMagenta), checker(w, h, kMagenta);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int d2 = (x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2);
      if (d2 < 120 * 120 && d2 >= 90 * 90) ring.at(x, y) = ink;
      seed = seed * 1103515245u + 12345u;
      if ((seed >> 16) & 1) random.at(x, y) = ink;
      if ((x + y) % 2 == 0) checker.at(x, y) = ink;
    }
  masks.emplace_back("ring", ring);
  masks.emplace_back("random", random);
  masks.emplace_back("one-pixel checkerboard", checker);
  for (const auto& [name, picture] : masks) {
    SCOPED_TRACE(name);
    HRGN region = Cut(picture, kMagentaKey, 1);
    ASSERT_TRUE(region);
    const std::vector<RECT> expected = CanonicalBands(OpaqueRuns(picture, kMagenta, 1), h);
    const std::vector<RECT> got = RegionRects(region);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
      ASSERT_TRUE(EqualRect(&got[i], &expected[i]))
          << "rectangle " << i << ": (" << got[i].left << ", " << got[i].top << ", " << got[i].right
          << ", " << got[i].bottom << ") instead of (" << expected[i].left << ", "
          << expected[i].top << ", " << expected[i].right << ", " << expected[i].bottom << ")";
    ExpectPixelExact(region, picture, kMagenta, 1);
  }
}

TEST_F(BitmapToRegionTest, EveryWidthAndEveryPixelPositionGiveTheBandsOfTheirRuns) {
  // Widths 1 to 67 and some around one and two 64-pixel words: the steps of 16 pixels, the
  // pixel-by-pixel rest of a row and the words of the bit mask. Channels just inside and just
  // outside the key range fall on every position within a step, in 24- and 32-bit files; the
  // fourth byte of a 32-bit pixel is random and must never count.
  std::mt19937 random(18);
  const Rgb key{200, 10, 254};
  const int tolerance = 3;  // red 200..203, green 10..13, blue 254..255
  auto around = [&](uint8_t low) {
    const int choices[] = {low - 1, low, low + 1, low + tolerance, low + tolerance + 1};
    return uint8_t(std::clamp(choices[random() % 5], 0, 255));
  };
  std::vector<int> widths;
  for (int w = 1; w <= 67; ++w) widths.push_back(w);
  for (int w : {95, 127, 128, 129, 143, 191, 192, 193}) widths.push_back(w);
  for (int width : widths) {
    SCOPED_TRACE(width);
    Picture p(width, 5, kMagenta);
    for (Rgb& c : p.pixels) {
      c = random() % 3 == 0 ? Rgb{key.r, key.g, key.b}
                            : Rgb{around(key.r), around(key.g), around(key.b)};
      if (random() % 8 == 0) c = Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())};
    }
    if (width > 2) p.at(width - 1, 1) = Rgb{0, 0, 0};  // a run ending at the right edge
    const std::vector<RECT> expected = CanonicalBands(OpaqueRuns(p, key, tolerance), p.height);
    for (int bits : {24, 32}) {
      SCOPED_TRACE(bits);
      std::vector<uint8_t> file = EncodeBmp(p, bits);
      if (bits == 32)
        for (size_t at = 54 + 3; at < file.size(); at += 4) file[at] = uint8_t(random());
      const std::string name = dir_ / ("width" + std::to_string(serial_++) + ".bmp");
      WriteFile(name, file);
      HRGN region = BitmapToRegion(name, RGB(key.r, key.g, key.b), BYTE(tolerance));
      ASSERT_TRUE(region);
      made_.push_back(region);
      const std::vector<RECT> got = RegionRects(region);
      ASSERT_EQ(got.size(), expected.size());
      for (size_t i = 0; i < got.size(); ++i)
        ASSERT_TRUE(EqualRect(&got[i], &expected[i])) << "rectangle " << i;
    }
  }
}

// The region has exactly the bands of the picture's runs, worked out pixel by pixel here.
void ExpectBandsOfRuns(HRGN region, const Picture& p, Rgb key, int tolerance) {
  ASSERT_TRUE(region);
  const std::vector<RECT> expected = CanonicalBands(OpaqueRuns(p, key, tolerance), p.height);
  const std::vector<RECT> got = RegionRects(region);
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i)
    ASSERT_TRUE(EqualRect(&got[i], &expected[i]))
        << "rectangle " << i << ": (" << got[i].left << ", " << got[i].top << ", " << got[i].right
        << ", " << got[i].bottom << ") instead of (" << expected[i].left << ", " << expected[i].top
        << ", " << expected[i].right << ", " << expected[i].bottom << ")";
}

// Pixels around the key range (tolerance 3) with a few random ones, so that every row differs.
Picture NearTheKey(int width, int height, Rgb key, std::mt19937& random) {
  auto around = [&](uint8_t low) {
    const int choices[] = {low - 1, low, low + 1, low + 3, low + 4};
    return uint8_t(std::clamp(choices[random() % 5], 0, 255));
  };
  Picture p(width, height, key);
  for (Rgb& c : p.pixels) {
    if (random() % 3 != 0) c = Rgb{around(key.r), around(key.g), around(key.b)};
    if (random() % 8 == 0) c = Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())};
  }
  return p;
}

// The pixel bytes of `p` at 24 or 32 bits in rows of `stride` bytes, top row first or last; the
// fourth byte of a 32-bit pixel and the row padding are random. `order` as in Layout below.
std::vector<uint8_t> PixelRows(const Picture& p, int bits, size_t stride, bool top_down,
                               std::mt19937& random, const int (&order)[3] = {0, 1, 2}) {
  std::vector<uint8_t> rows(stride * p.height);
  for (uint8_t& b : rows) b = uint8_t(random());
  for (int y = 0; y < p.height; ++y) {
    uint8_t* row = rows.data() + stride * size_t(top_down ? y : p.height - 1 - y);
    for (int x = 0; x < p.width; ++x) {
      const Rgb c = p.at(x, y);
      uint8_t* px = row + size_t(x) * (bits / 8);
      px[order[0]] = c.b, px[order[1]] = c.g, px[order[2]] = c.r;
    }
  }
  return rows;
}

// How a 24- or 32-bit file lays out its pixels: `order` gives where blue, green and red go within a
// pixel.
struct Layout {
  const char* name;
  int bits;
  bool top_down;
  uint32_t compression;
  std::vector<uint32_t> masks;
  int order[3];
};

class BitmapToRegionLayoutTest : public BitmapToRegionTest {
 protected:
  // Files of each layout at every width from 1 to 67 (row padding 0 to 3 bytes), of one row, of an
  // even and of an odd number of rows, cut with a key near many of their pixels.
  void ExpectLayoutsCutRight(const std::vector<Layout>& layouts) {
    std::mt19937 random(31);
    const Rgb key{200, 10, 254};
    for (int width = 1; width <= 67; ++width) {
      SCOPED_TRACE(width);
      for (int height : {1, 4, 5}) {
        SCOPED_TRACE(height);
        const Picture p = NearTheKey(width, height, key, random);
        for (const Layout& layout : layouts) {
          SCOPED_TRACE(layout.name);
          BmpFile file;
          file.width = width;
          file.height = layout.top_down ? -height : height;
          file.bpp = layout.bits;
          file.compression = layout.compression;
          file.masks = layout.masks;
          file.pixels = PixelRows(p, layout.bits, bmp_stride(width, layout.bits), layout.top_down,
                                  random, layout.order);
          const std::string name = dir_ / ("layout" + std::to_string(serial_++) + ".bmp");
          WriteFile(name, file.bytes());
          HRGN region = BitmapToRegion(name, RGB(key.r, key.g, key.b), 3);
          if (region) made_.push_back(region);
          ExpectBandsOfRuns(region, p, key, 3);
          if (HasFatalFailure()) return;
        }
      }
    }
  }
};

TEST_F(BitmapToRegionLayoutTest, BottomUpFilesOfEveryLayoutGiveTheBandsOfTheirRuns) {
  // 24- and 32-bit files are read where they are loaded, and 32-bit ones may say where their
  // channels are; those with the channels elsewhere go through the copy, which must move them.
  ExpectLayoutsCutRight({
      {"24", 24, false, BI_RGB, {}, {0, 1, 2}},
      {"32", 32, false, BI_RGB, {}, {0, 1, 2}},
      {"32 fields in the usual places",
       32,
       false,
       BI_BITFIELDS,
       {0xFF0000, 0xFF00, 0xFF},
       {0, 1, 2}},
      {"32 fields red first", 32, false, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, {2, 1, 0}},
      {"32 fields from the top byte",
       32,
       false,
       BI_BITFIELDS,
       {0xFF00, 0xFF0000, 0xFF000000},
       {3, 2, 1}},
  });
}

TEST_F(BitmapToRegionLayoutTest, TopDownFilesGiveTheBandsOfTheirRuns) {
  SKIP_UNDER_WINE("a top-down file's picture is lost by LoadImageA (number 12 in docs/windows.md)");
  ExpectLayoutsCutRight({
      {"24", 24, true, BI_RGB, {}, {0, 1, 2}},
      {"32", 32, true, BI_RGB, {}, {0, 1, 2}},
      {"32 fields in the usual places",
       32,
       true,
       BI_BITFIELDS,
       {0xFF0000, 0xFF00, 0xFF},
       {0, 1, 2}},
      {"32 fields from the top byte",
       32,
       true,
       BI_BITFIELDS,
       {0xFF00, 0xFF0000, 0xFF000000},
       {3, 2, 1}},
  });
}

TEST_F(BitmapToRegionTest, SectionsInEitherRowOrderGiveTheBandsOfTheirRuns) {
  // Sections made here, so that top-down memory is seen on every platform. The row order matters
  // only where a row and its mirror about the middle differ: pictures that differ nowhere, only in
  // the middle pair, only at the last pixel of the first and last rows, and everywhere.
  std::mt19937 random(47);
  const Rgb key{255, 0, 255};
  for (int width : {1, 2, 7, 16, 33, 64, 67}) {
    SCOPED_TRACE(width);
    for (int height : {1, 2, 6, 7}) {
      SCOPED_TRACE(height);
      std::vector<std::pair<const char*, Picture>> pictures;
      Picture mirrored = NearTheKey(width, height, key, random);
      for (int y = 0; y < height / 2; ++y)
        for (int x = 0; x < width; ++x) mirrored.at(x, height - 1 - y) = mirrored.at(x, y);
      pictures.emplace_back("mirrored", mirrored);
      Picture middle = mirrored;
      middle.at(width / 2, height / 2 - (height % 2 == 0)) = Rgb{1, 2, 3};
      pictures.emplace_back("middle pair differs", middle);
      Picture corner = mirrored;
      corner.at(width - 1, 0) = key;
      corner.at(width - 1, height - 1) = Rgb{9, 9, 9};
      pictures.emplace_back("last pixel differs", corner);
      pictures.emplace_back("everywhere", NearTheKey(width, height, key, random));
      for (const auto& [what, p] : pictures)
        for (int bits : {24, 32})
          for (bool top_down : {false, true}) {
            SCOPED_TRACE(testing::Message() << what << ", " << bits << " bits, "
                                            << (top_down ? "top-down" : "bottom-up"));
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = top_down ? -height : height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = WORD(bits);
            info.bmiHeader.biCompression = BI_RGB;
            void* bits_out = nullptr;
            HBITMAP section = CreateDIBSection(0, &info, DIB_RGB_COLORS, &bits_out, 0, 0);
            ASSERT_TRUE(section && bits_out);
            const std::vector<uint8_t> rows =
                PixelRows(p, bits, bmp_stride(width, bits), top_down, random);
            std::copy(rows.begin(), rows.end(), static_cast<uint8_t*>(bits_out));
            HRGN region = zelvo::RegionFromBitmap(section, 0, RGB(key.r, key.g, key.b), 3);
            if (region) made_.push_back(region);
            DeleteObject(section);
            ExpectBandsOfRuns(region, p, key, 3);
            if (HasFatalFailure()) return;
          }
    }
  }
}

TEST_F(BitmapToRegionTest, LeavesOnlyTheResultBehind) {
  Picture p(64, 64, kMagenta);
  for (int y = 0; y < 64; ++y)
    for (int x = (y * 7) % 5; x < 64; x += 3) p.at(x, y) = Rgb{9, 9, 9};
  const std::string file = dir_ / "leak.bmp";
  WriteBmp(file, p, 8);
  const LiveObjects before;
  HRGN region = BitmapToRegion(file, kMagentaKey, 1);
  ASSERT_TRUE(region);
  if (kCountsObjects) {
    const LiveObjects after;
    EXPECT_EQ(after.regions, before.regions + 1);
    EXPECT_EQ(after.bitmaps, before.bitmaps);
    EXPECT_EQ(after.palettes, before.palettes);
    EXPECT_EQ(after.contexts, before.contexts);
    EXPECT_EQ(after.globals, before.globals);
  }
  EXPECT_TRUE(DeleteObject(region));
  if (kCountsObjects) {
    EXPECT_EQ(LiveObjects(), before);
  }
}

TEST_F(BitmapToRegionTest, UnloadableFileGivesZeroAndLeavesNothing) {
  WriteFile(dir_ / "truncated.bmp", {'B', 'M', 0x40, 0, 0, 0});
  const LiveObjects before;
  EXPECT_FALSE(BitmapToRegion(dir_ / "nothing-here.bmp", kMagentaKey, 1));
  EXPECT_FALSE(BitmapToRegion(dir_ / "truncated.bmp", kMagentaKey, 1));
  if (kCountsObjects) {
    EXPECT_EQ(LiveObjects(), before);
  }
}

TEST_F(BitmapToRegionTest, TinyRunLengthFileOfAHugeWidthGivesZeroWithoutOverflowOrGiantMemory) {
  // 1,080 bytes: an 8-bit run-length file 600 million pixels wide and one high (width * 4 does not
  // fit in 32 bits), with its colour table and an end-of-bitmap mark.
  std::vector<uint8_t> file = {'B', 'M'};
  append32(file, 1080);
  append32(file, 0);
  append32(file, 1078);
  append32(file, 40);
  append32(file, 600000000);
  append32(file, 1);
  append16(file, 1);
  append16(file, 8);
  append32(file, BI_RLE8);
  for (int i = 0; i < 5; ++i) append32(file, i == 0 ? 2 : 0);
  for (int i = 0; i < 256; ++i) append32(file, uint32_t(i) * 0x010101u);
  file.insert(file.end(), {0, 1});
  ASSERT_EQ(file.size(), 1080u);
  WriteFile(dir_ / "wide.bmp", file);
  const LiveObjects before;
  const long peak_before = PeakMemoryKb();
  EXPECT_FALSE(BitmapToRegion(dir_ / "wide.bmp", kMagentaKey, 1));
  EXPECT_LT(PeakMemoryKb() - peak_before, 64 * 1024) << "kB more at the peak";
  if (kCountsObjects) {
    EXPECT_EQ(LiveObjects(), before);
  }
}

TEST(BitmapToRegionDeathTest, KeyAboveTheInterfaceRangeIsARunTimeError) {
  TempDir dir;
  WriteBmp(dir / "one.bmp", Picture(2, 2, kMagenta));
  EXPECT_EXIT(BitmapToRegion(dir / "one.bmp", 0x80FF00FFu, 1), ::testing::ExitedWithCode(2),
              "run-time error");
  // A file that does not load gives 0 before the key is looked at.
  EXPECT_FALSE(BitmapToRegion(dir / "missing.bmp", 0x80FF00FFu, 1));
}

}  // namespace
