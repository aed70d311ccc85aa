// Regions: building from rectangle lists, combining, hit-testing and reading them back.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "gdi_test_support.h"
#include "wine_differences.h"

namespace {

std::vector<char> region_data(const std::vector<RECT>& rects, size_t capacity) {
  std::vector<char> block(sizeof(RGNDATAHEADER) + capacity * sizeof(RECT));
  RGNDATAHEADER header{
      sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()), 0, {0, 0, 0, 0}};
  std::memcpy(block.data(), &header, sizeof header);
  if (!rects.empty())
    std::memcpy(block.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
  return block;
}

HRGN from_rects(const std::vector<RECT>& rects, size_t capacity = 0) {
  std::vector<char> block = region_data(rects, std::max(capacity, rects.size()));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()),
                         reinterpret_cast<RGNDATA*>(block.data()));
}

// What a region covers, pixel by pixel, in a small window of the plane.
std::vector<bool> coverage(HRGN region, int size = 40) {
  std::vector<bool> out;
  for (int y = -2; y < size; ++y)
    for (int x = -2; x < size; ++x) out.push_back(PtInRegion(region, x, y));
  return out;
}

TEST(Region, RectangleListsUnionLikePixelSets) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coord(0, 36);
  const size_t regions = zelvo_test::gdi_object_count();
  for (int round = 0; round < 20; ++round) {
    std::vector<RECT> rects;
    std::vector<bool> expected(42 * 42, false);
    for (int i = 0; i < 25; ++i) {
      const int x1 = coord(random), y1 = coord(random), x2 = coord(random), y2 = coord(random);
      RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
      rects.push_back(r);
      for (int y = std::min(r.top, r.bottom); y < std::max(r.top, r.bottom); ++y)
        for (int x = std::min(r.left, r.right); x < std::max(r.left, r.right); ++x)
          expected[static_cast<size_t>(y + 2) * 42 + (x + 2)] = true;
    }
    HRGN region = from_rects(rects);
    ASSERT_TRUE(region);
    EXPECT_EQ(coverage(region), expected);

    // The same set built by unions of single rectangles is an equal region.
    HRGN combined = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
      HRGN one = CreateRectRgnIndirect(&r);
      EXPECT_NE(CombineRgn(combined, combined, one, RGN_OR), ERROR);
      DeleteObject(one);
    }
    EXPECT_TRUE(EqualRgn(region, combined));

    // GetRegionData gives rectangles that rebuild the same region.
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> block(size);
    ASSERT_EQ(GetRegionData(region, size, reinterpret_cast<RGNDATA*>(block.data())), size);
    RGNDATAHEADER header;
    std::memcpy(&header, block.data(), sizeof header);
    EXPECT_EQ(header.dwSize, 32u);
    EXPECT_EQ(header.iType, 1u);
    EXPECT_EQ(header.nRgnSize, header.nCount * 16);
    EXPECT_EQ(size, 32 + header.nCount * 16);
    EXPECT_EQ(zelvo_test::region_rects(region).size(), header.nCount);
    HRGN rebuilt = ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(block.data()));
    EXPECT_TRUE(EqualRgn(region, rebuilt));
    RECT box, bound = header.rcBound;
    GetRgnBox(region, &box);
    EXPECT_TRUE(EqualRect(&box, &bound));
    for (HRGN h : {region, combined, rebuilt}) EXPECT_TRUE(DeleteObject(h));
  }
  EXPECT_EQ(zelvo_test::gdi_object_count(), regions);
}

TEST(Region, CombineModesAndComplexity) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  HRGN d = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
  RECT box;
  GetRgnBox(d, &box);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(d, 14, 14));
  EXPECT_FALSE(PtInRegion(d, 14, 2));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_DIFF), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(d, 2, 2));
  EXPECT_FALSE(PtInRegion(d, 7, 7));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(d, 7, 7));
  EXPECT_TRUE(PtInRegion(d, 12, 12));
  EXPECT_TRUE(PtInRegion(d, 2, 2));
  EXPECT_EQ(CombineRgn(d, a, 0, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(d, a));
  EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(GetRgnBox(d, &box), NULLREGION);
  EXPECT_TRUE(IsRectEmpty(&box));
  EXPECT_EQ(CombineRgn(d, a, b, 99), ERROR);
  EXPECT_EQ(CombineRgn(d, a, 0, RGN_OR), ERROR);

  EXPECT_EQ(OffsetRgn(a, 3, -2), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(a, 12, 7));
  EXPECT_FALSE(PtInRegion(a, 1, 1));
  RECT inside{11, 0, 20, 3}, outside{20, 20, 30, 30};
  EXPECT_TRUE(RectInRegion(a, &inside));
  EXPECT_FALSE(RectInRegion(a, &outside));
  for (HRGN h : {a, b, d}) DeleteObject(h);
  EXPECT_FALSE(PtInRegion(a, 5, 5));
  EXPECT_EQ(CombineRgn(d, b, b, RGN_OR), ERROR);
  EXPECT_TRUE(zelvo_test::region_rects(a).empty());
}

TEST(Region, ExtCreateRegionWantsAWholeHeaderAndNotItsType) {
  std::vector<RECT> rects = {{0, 0, 4, 4}, {10, 0, 12, 2}};
  std::vector<char> good = region_data(rects, 2);
  const DWORD size = static_cast<DWORD>(good.size());
  auto try_with = [&](auto change) {
    std::vector<char> block = good;
    RGNDATAHEADER header;
    std::memcpy(&header, block.data(), sizeof header);
    change(header);
    std::memcpy(block.data(), &header, sizeof header);
    HRGN h = ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(block.data()));
    const size_t count = h ? zelvo_test::region_rects(h).size() : 0;
    DeleteObject(h);
    return count;
  };
  EXPECT_EQ(try_with([](RGNDATAHEADER&) {}), 3u);  // bands: two boxes over y 0..2, one over 2..4
  EXPECT_EQ(try_with([](RGNDATAHEADER& h) { h.dwSize = 36; }), 3u) << "a longer header is fine";
  EXPECT_EQ(try_with([](RGNDATAHEADER& h) { h.iType = 2; }), 3u) << "the type is not looked at";
  EXPECT_EQ(try_with([](RGNDATAHEADER& h) { h.dwSize = 16; }), 0u) << "a short header is refused";
  EXPECT_EQ(try_with([](RGNDATAHEADER& h) { h.nCount = 1; }), 1u) << "only nCount are read";
  EXPECT_FALSE(ExtCreateRegion(nullptr, size, nullptr));

  // A buffer larger than the rectangles it counts is fine: only nCount rectangles are read.
  HRGN h = from_rects(rects, 100);
  ASSERT_TRUE(h);
  EXPECT_EQ(zelvo_test::region_rects(h).size(), 3u);
  DeleteObject(h);
  // No rectangles: an empty region, not a failure.
  h = from_rects({});
  ASSERT_TRUE(h);
  RECT box;
  EXPECT_EQ(GetRgnBox(h, &box), NULLREGION);
  DeleteObject(h);
}

// The size argument bounds what may be read: a count or a size that does not fit is refused
// rather than read past the caller's block.
TEST(Region, ExtCreateRegionNeverReadsPastTheBlockItIsGiven) {
  SKIP_UNDER_WINE("ExtCreateRegion ignores its size argument and reads nCount rectangles");
  std::vector<char> good = region_data({{0, 0, 4, 4}, {10, 0, 12, 2}}, 2);
  const DWORD size = static_cast<DWORD>(good.size());
  auto made_with = [&](DWORD count, DWORD block_size) {
    std::vector<char> block = good;
    reinterpret_cast<RGNDATAHEADER*>(block.data())->nCount = count;
    HRGN h = ExtCreateRegion(nullptr, block_size, reinterpret_cast<RGNDATA*>(block.data()));
    DeleteObject(h);
    return h != 0;
  };
  EXPECT_TRUE(made_with(2, size));
  EXPECT_FALSE(made_with(3, size));
  EXPECT_FALSE(made_with(0x10000001, size));  // 16 x count wraps
  EXPECT_FALSE(made_with(2, 20));
}

TEST(Region, RowRunsMergeIntoBands) {
  // A filled 30 x 20 block made of one-pixel-high rows is one rectangle.
  std::vector<RECT> rows;
  for (int y = 0; y < 20; ++y) rows.push_back(RECT{0, y, 30, y + 1});
  HRGN h = from_rects(rows);
  std::vector<RECT> rects = zelvo_test::region_rects(h);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].right, 30);
  EXPECT_EQ(rects[0].bottom, 20);
  HRGN whole = CreateRectRgn(30, 20, 0, 0);  // corners given the other way round
  EXPECT_TRUE(EqualRgn(h, whole));
  DeleteObject(h);
  DeleteObject(whole);
}

TEST(Region, OffsetRgnRefusesToLeaveTheCoordinateSpace) {
  // Region coordinates are 27-bit signed integers.
  SKIP_UNDER_WINE("OffsetRgn moves a region past the 27-bit coordinate space instead of failing");
  HRGN a = CreateRectRgn(3, -2, 13, 8);
  EXPECT_EQ(OffsetRgn(a, 0x7FFFFFFF, 0), ERROR);
  RECT inside{11, 0, 13, 3};
  EXPECT_TRUE(RectInRegion(a, &inside)) << "a refused offset leaves the region where it was";
  DeleteObject(a);
}

TEST(Region, ExtCreateRegionAppliesItsTransform) {
  std::vector<char> block = region_data({{0, 0, 4, 4}, {10, 0, 12, 2}}, 2);
  const auto* data = reinterpret_cast<RGNDATA*>(block.data());
  const auto size = static_cast<DWORD>(block.size());
  HRGN plain = ExtCreateRegion(nullptr, size, data);
  XFORM identity{1, 0, 0, 1, 0, 0};
  HRGN same = ExtCreateRegion(&identity, size, data);
  ASSERT_TRUE(same);
  EXPECT_TRUE(EqualRgn(plain, same));
  XFORM scale_and_move{2, 0, 0, 3, 100, 50};
  HRGN moved = ExtCreateRegion(&scale_and_move, size, data);
  ASSERT_TRUE(moved);
  RECT box;
  EXPECT_EQ(GetRgnBox(moved, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 100);
  EXPECT_EQ(box.top, 50);
  EXPECT_EQ(box.right, 124);
  EXPECT_EQ(box.bottom, 62);
  EXPECT_TRUE(PtInRegion(moved, 121, 55));
  EXPECT_FALSE(PtInRegion(moved, 110, 55));
  for (HRGN h : {plain, same, moved}) DeleteObject(h);
}

TEST(Region, ExtCreateRegionDropsRectanglesGivenTheOtherWayRound) {
  std::vector<char> block =
      region_data({{4, 6, 0, 2}, {4, 2, 0, 6}, {0, 6, 4, 2}, {7, 1, 9, 3}}, 4);
  HRGN h = ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()),
                           reinterpret_cast<RGNDATA*>(block.data()));
  ASSERT_TRUE(h);
  HRGN expected = CreateRectRgn(7, 1, 9, 3);
  EXPECT_TRUE(EqualRgn(h, expected)) << "only the rectangle with its corners in order is kept";
  // A mirroring transform turns a rectangle round; it stays.
  std::vector<char> one = region_data({{7, 1, 9, 3}}, 1);
  XFORM mirror{-1, 0, 0, 1, 0, 0};
  HRGN mirrored = ExtCreateRegion(&mirror, static_cast<DWORD>(one.size()),
                                  reinterpret_cast<RGNDATA*>(one.data()));
  HRGN expected_mirrored = CreateRectRgn(-9, 1, -7, 3);
  EXPECT_TRUE(EqualRgn(mirrored, expected_mirrored));
  for (HRGN r : {h, expected, mirrored, expected_mirrored}) DeleteObject(r);
}

// A list in y-x bands (rows top to bottom, left to right, as a scan of a picture gives) and the
// same list in any other order make the same region, rectangle for rectangle: touching or
// overlapping boxes of a row merged, identical rows straight below each other coalesced into one
// band.
TEST(Region, BandedListAndTheSameListShuffledGiveIdenticalRectangles) {
  std::mt19937 random(18);
  auto data_of = [](HRGN h) {
    const DWORD size = GetRegionData(h, 0, nullptr);
    std::vector<char> block(size);
    GetRegionData(h, size, reinterpret_cast<RGNDATA*>(block.data()));
    return block;
  };
  const XFORM scale{2, 0, 0, 3, -5, 7}, mirror{-1, 0, 0, 1, 0, 0};
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    std::vector<RECT> rects;
    std::vector<RECT> row;
    int y = static_cast<int>(random() % 5) - 2;
    // Far coordinates in some rounds: beyond 2^27 they meet the edge of the coordinate space.
    const int edge = round % 10 == 9 ? (1 << 27) - 30 : 0;
    const int bands = 1 + static_cast<int>(random() % 12);
    for (int band = 0; band < bands; ++band) {
      const int height = 1 + static_cast<int>(random() % 3);
      if (row.empty() || random() % 3 != 0) {  // otherwise the row repeats: it coalesces
        row.clear();
        int x = static_cast<int>(random() % 6) - 3;
        const int boxes = static_cast<int>(random() % 6);
        for (int i = 0; i < boxes; ++i) {
          const int width = static_cast<int>(random() % 5);  // 0: an empty box, dropped
          row.push_back(RECT{edge + x, 0, edge + x + width, 0});
          // Next box: apart, touching, or overlapping, never to the left of this one.
          x += static_cast<int>(random() % 4) == 0 ? width / 2
                                                   : width + static_cast<int>(random() % 3);
        }
      }
      for (RECT r : row) {
        r.top = edge + y, r.bottom = edge + y + height;
        rects.push_back(r);
      }
      if (random() % 4 == 0) rects.push_back(RECT{3, edge + y, 3, edge + y + 1});  // empty
      y += height + (random() % 2 == 0 ? 0 : static_cast<int>(random() % 3));
    }
    std::vector<RECT> shuffled = rects;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    HRGN banded = from_rects(rects), any_order = from_rects(shuffled);
    ASSERT_TRUE(banded);
    ASSERT_TRUE(any_order);
    EXPECT_EQ(data_of(banded), data_of(any_order));
    HRGN united = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
      HRGN one = CreateRectRgnIndirect(&r);
      if (!IsRectEmpty(&r)) CombineRgn(united, united, one, RGN_OR);
      DeleteObject(one);
    }
    EXPECT_TRUE(EqualRgn(banded, united));
    for (const XFORM* xform : {&scale, &mirror}) {
      std::vector<char> in_order = region_data(rects, rects.size());
      std::vector<char> out_of_order = region_data(shuffled, shuffled.size());
      HRGN a = ExtCreateRegion(xform, static_cast<DWORD>(in_order.size()),
                               reinterpret_cast<RGNDATA*>(in_order.data()));
      HRGN b = ExtCreateRegion(xform, static_cast<DWORD>(out_of_order.size()),
                               reinterpret_cast<RGNDATA*>(out_of_order.data()));
      EXPECT_EQ(data_of(a), data_of(b)) << (xform == &mirror ? "mirrored" : "scaled");
      DeleteObject(a);
      DeleteObject(b);
    }
    // In bands but for its last box, which lies above the others: the whole list still counts.
    if (!rects.empty()) {
      std::vector<RECT> late = rects;
      late.push_back(RECT{edge - 9, edge - 20, edge - 4, edge - 10});
      HRGN with_late = from_rects(late);
      HRGN expected = CreateRectRgn(edge - 9, edge - 20, edge - 4, edge - 10);
      CombineRgn(expected, expected, united, RGN_OR);
      EXPECT_EQ(data_of(with_late), data_of(expected));
      DeleteObject(with_late);
      DeleteObject(expected);
    }
    for (HRGN h : {banded, any_order, united}) DeleteObject(h);
  }
}

TEST(Rect, HelpersFollowTheHalfOpenConvention) {
  RECT a, b, c;
  SetRect(&a, 0, 0, 10, 10);
  SetRect(&b, 5, 5, 20, 8);
  EXPECT_TRUE(IntersectRect(&c, &a, &b));
  EXPECT_EQ(c.left, 5);
  EXPECT_EQ(c.right, 10);
  EXPECT_EQ(c.bottom, 8);
  EXPECT_TRUE(UnionRect(&c, &a, &b));
  EXPECT_EQ(c.right, 20);
  EXPECT_EQ(c.bottom, 10);
  EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
  OffsetRect(&b, 100, 0);
  EXPECT_FALSE(IntersectRect(&c, &a, &b));
  EXPECT_TRUE(IsRectEmpty(&c));
  SetRectEmpty(&c);
  EXPECT_TRUE(UnionRect(&c, &c, &a));
  EXPECT_TRUE(EqualRect(&c, &a));
  CopyRect(&c, &b);
  EXPECT_TRUE(EqualRect(&c, &b));
  InflateRect(&c, 1, 2);
  EXPECT_EQ(c.top, 3);
  EXPECT_EQ(c.left, 104);
}

}  // namespace
