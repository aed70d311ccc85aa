// System cursors: one shared handle per identifier, and nothing for identifiers or modules that
// have none. Cursor files: LoadCursorFromFileA takes the files Windows takes and refuses the broken
// ones it refuses (no public call reads a cursor's pixels back on our layer).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_files.h"
#include "wine_differences.h"

namespace {

TEST(SystemCursor, EveryIdentifierOfTheFrameworkGivesASharedHandle) {
  const LPCSTR ids[] = {IDC_ARROW,   IDC_IBEAM,       IDC_WAIT,     IDC_CROSS,
                        IDC_UPARROW, IDC_SIZE,        IDC_SIZENWSE, IDC_SIZENESW,
                        IDC_SIZEWE,  IDC_SIZENS,      IDC_SIZEALL,  IDC_NO,
                        IDC_HAND,    IDC_APPSTARTING, IDC_HELP,     IDC_ICON};
  for (LPCSTR id : ids) {
    HCURSOR c = LoadCursorA(0, id);
    ASSERT_TRUE(c) << reinterpret_cast<uintptr_t>(id);
    EXPECT_EQ(LoadCursorA(0, id), c) << "shared";
  }
  EXPECT_NE(LoadCursorA(0, IDC_ARROW), LoadCursorA(0, IDC_IBEAM));
  // A shared cursor outlives DestroyCursor: the next load gives the same one.
  HCURSOR arrow = LoadCursorA(0, IDC_ARROW);
  DestroyCursor(arrow);
  EXPECT_EQ(LoadCursorA(0, IDC_ARROW), arrow);

  EXPECT_FALSE(LoadCursorA(0, MAKEINTRESOURCEA(32517)));
  EXPECT_FALSE(LoadCursorA(0, "arrow"));
}

// The image of one entry: a 40-byte header of twice the height, the colour table, the colour rows
// and the mask rows, bottom-up. The colour rows hold a diagonal of index 1 (white at 24 and 32
// bits, opaque), the mask leaves a square in the top left corner opaque.
zelvo_test::Bytes entry_image(int size, int bpp) {
  zelvo_test::Bytes v;
  zelvo_test::append32(v, 40);
  zelvo_test::append32(v, static_cast<uint32_t>(size));
  zelvo_test::append32(v, static_cast<uint32_t>(2 * size));
  zelvo_test::append16(v, 1);
  zelvo_test::append16(v, static_cast<uint32_t>(bpp));
  for (int i = 0; i < 6; ++i) zelvo_test::append32(v, 0);
  if (bpp <= 8)
    for (int i = 0; i < (1 << bpp); ++i) zelvo_test::append32(v, i == 1 ? 0xFFFFFF : 0);
  const size_t stride = zelvo_test::bmp_stride(size, bpp);
  for (int y = size - 1; y >= 0; --y) {
    zelvo_test::Bytes row(stride, 0);
    for (int x = 0; x < size; ++x) {
      if (x != y) continue;
      if (bpp >= 24) {
        for (int k = 0; k < bpp / 8; ++k) row[static_cast<size_t>(x) * bpp / 8 + k] = 0xFF;
      } else {
        const size_t bit = static_cast<size_t>(x) * bpp;
        row[bit / 8] |= static_cast<uint8_t>(1u << (8 - bpp - bit % 8));
      }
    }
    v.insert(v.end(), row.begin(), row.end());
  }
  const size_t mask_stride = zelvo_test::bmp_stride(size, 1);
  for (int y = size - 1; y >= 0; --y) {
    zelvo_test::Bytes row(mask_stride, 0);
    for (int x = 0; x < size; ++x)
      if (x >= size / 2 || y >= size / 2) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}

struct Entry {
  int size, bpp;
};

// A .cur (type 2, hot spot 3, 4) or .ico (type 1) file of the given entries.
zelvo_test::Bytes cursor_file(int type, const std::vector<Entry>& entries) {
  zelvo_test::Bytes v;
  zelvo_test::append16(v, 0);
  zelvo_test::append16(v, static_cast<uint32_t>(type));
  zelvo_test::append16(v, static_cast<uint32_t>(entries.size()));
  std::vector<zelvo_test::Bytes> images;
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const Entry& e : entries) {
    images.push_back(entry_image(e.size, e.bpp));
    v.push_back(static_cast<uint8_t>(e.size));
    v.push_back(static_cast<uint8_t>(e.size));
    v.push_back(e.bpp <= 8 ? static_cast<uint8_t>((1 << e.bpp) & 0xFF) : 0);
    v.push_back(0);
    zelvo_test::append16(v, type == 2 ? 3 : 1);
    zelvo_test::append16(v, type == 2 ? 4 : static_cast<uint32_t>(e.bpp));
    zelvo_test::append32(v, static_cast<uint32_t>(images.back().size()));
    zelvo_test::append32(v, offset);
    offset += static_cast<uint32_t>(images.back().size());
  }
  for (const zelvo_test::Bytes& image : images) v.insert(v.end(), image.begin(), image.end());
  return v;
}

TEST(CursorFile, FilesOfEveryDepthLoadAndBrokenOnesDoNot) {
  struct Case {
    const char* name;
    zelvo_test::Bytes bytes;
  };
  const std::vector<Case> good = {
      {"1-bit cursor", cursor_file(2, {{32, 1}})},
      {"4-bit cursor", cursor_file(2, {{32, 4}})},
      {"8-bit cursor", cursor_file(2, {{32, 8}})},
      {"24-bit cursor", cursor_file(2, {{32, 24}})},
      {"32-bit cursor", cursor_file(2, {{32, 32}})},
      {"two sizes", cursor_file(2, {{16, 4}, {32, 8}})},
      {"an icon file", cursor_file(1, {{32, 8}})},
  };
  for (const Case& c : good) {
    const std::string file = bmp_test::path("good.cur");
    bmp_test::write_file(file, c.bytes);
    HCURSOR cursor = LoadCursorFromFileA(file.c_str());
    EXPECT_TRUE(cursor) << c.name;
    if (cursor) {
      EXPECT_TRUE(DestroyCursor(cursor)) << c.name;
    }
  }

  const zelvo_test::Bytes whole = cursor_file(2, {{32, 8}});
  zelvo_test::Bytes offset_past_end = whole;
  zelvo_test::set32(offset_past_end, 18, static_cast<uint32_t>(whole.size()) + 1);
  zelvo_test::Bytes size_past_end = whole;
  zelvo_test::set32(size_past_end, 14, static_cast<uint32_t>(whole.size()));
  zelvo_test::BmpFile bitmap;
  bitmap.width = 32;
  bitmap.height = 32;
  bitmap.pixels.assign(32 * 32 * 3, 0x80);
  const std::vector<Case> bad = {
      {"an empty file", {}},
      {"the directory cut short", zelvo_test::Bytes(whole.begin(), whole.begin() + 10)},
      {"the image past the end", offset_past_end},
      {"the image's size past the end", size_past_end},
      {"a BMP file", bitmap.bytes()},
  };
  for (const Case& c : bad) {
    const std::string file = bmp_test::path("bad.cur");
    bmp_test::write_file(file, c.bytes);
    HCURSOR cursor = LoadCursorFromFileA(file.c_str());
    EXPECT_FALSE(cursor) << c.name;
    if (cursor) DestroyCursor(cursor);
  }
  EXPECT_FALSE(LoadCursorFromFileA(bmp_test::path("missing.cur").c_str()));
}

TEST(CursorFile, ADirectoryOfNoImagesGivesNoCursor) {
  SKIP_UNDER_WINE("the first image is loaded although the directory lists none (number 21)");
  zelvo_test::Bytes file = cursor_file(2, {{32, 8}});
  file[4] = 0;  // the count of images
  bmp_test::write_file(bmp_test::path("empty.cur"), file);
  HCURSOR cursor = LoadCursorFromFileA(bmp_test::path("empty.cur").c_str());
  EXPECT_FALSE(cursor);
  if (cursor) DestroyCursor(cursor);
}

}  // namespace
