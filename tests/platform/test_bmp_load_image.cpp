// LoadImageA on BMP files, GetObjectA and DeleteObject on the bitmaps it gives.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include "../../platform/src/bmp_decode.h"
#include "bmp_test_files.h"

namespace {

using bmp_test::path;

const UINT kTextureFlags = LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_CREATEDIBSECTION;

HBITMAP load(const std::string& file, UINT flags = kTextureFlags, int cx = 0, int cy = 0) {
  return LoadImageA(GetModuleHandleA(nullptr), file.c_str(), IMAGE_BITMAP, cx, cy, flags);
}

TEST(BmpLoadImage, TwentyFourBitFileKeepsItsBytesAndRowOrder) {
  // 3 x 2 pixels, first pixel in memory (bottom-left) blue 10, green 20, red 30.
  bmp_test::Writer writer;
  writer.width = 3;
  writer.height = 2;
  writer.bpp = 24;
  writer.pixels = {10, 20, 30, 1, 2, 3, 4, 5, 6, 0, 0, 0, 7, 8, 9, 11, 12, 13, 14, 15, 16, 0, 0, 0};
  bmp_test::write_file(path("a.bmp"), writer.bytes());
  const size_t bitmaps = plat::handle_count(plat::Kind::Bitmap);

  HBITMAP bitmap = load(path("a.bmp"));
  ASSERT_NE(bitmap, 0u);
  EXPECT_EQ(plat::handle_count(plat::Kind::Bitmap), bitmaps + 1);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmType, 0);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(bm.bmWidthBytes, 12);
  EXPECT_EQ(bm.bmPlanes, 1);
  EXPECT_EQ(bm.bmBitsPixel, 24);
  ASSERT_NE(bm.bmBits, nullptr);
  EXPECT_EQ(0, std::memcmp(bm.bmBits, writer.pixels.data(), writer.pixels.size()));

  DIBSECTION ds{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBmih.biHeight, 2);
  EXPECT_EQ(ds.dsBmih.biBitCount, 24);
  EXPECT_EQ(ds.dsBm.bmBits, bm.bmBits);

  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(plat::handle_count(plat::Kind::Bitmap), bitmaps);
  // A stale handle describes nothing and deletes nothing.
  EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), 0);
  EXPECT_FALSE(DeleteObject(bitmap));
}

TEST(BmpLoadImage, TopDownFileIsStoredBottomUpWithPositiveHeight) {
  bmp_test::Writer writer;
  writer.width = 1;
  writer.height = -3;
  writer.bpp = 32;
  writer.pixels = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3};  // top row first
  bmp_test::write_file(path("top.bmp"), writer.bytes());
  HBITMAP bitmap = load(path("top.bmp"));
  ASSERT_NE(bitmap, 0u);
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  EXPECT_EQ(bm.bmHeight, 3);
  const uint8_t* bits = static_cast<const uint8_t*>(bm.bmBits);
  EXPECT_EQ(bits[0], 3);  // the bottom row comes first
  EXPECT_EQ(bits[4], 2);
  EXPECT_EQ(bits[8], 1);
  EXPECT_EQ(bits[11], 1);  // the fourth byte is kept
  DeleteObject(bitmap);
}

TEST(BmpLoadImage, MagickFilesLoadAtTheirOwnDepth) {
  for (auto [options, bpp] : {std::pair{"-type TrueColor BMP3:", 24},
                              {"-type Palette BMP3:", 8},
                              {"-type TrueColorAlpha BMP:", 32},
                              {"-define bmp:subtype=RGB565 BMP:", 16}}) {
    SCOPED_TRACE(options);
    bmp_test::write_ppm(path("m.ppm"), 37, 11, bmp_test::pattern(37, 11, 120));
    ASSERT_TRUE(
        bmp_test::run("convert '" + path("m.ppm") + "' " + options + "'" + path("m.bmp") + "'"));
    HBITMAP bitmap = load(path("m.bmp"));
    ASSERT_NE(bitmap, 0u);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, bpp);
    EXPECT_EQ(bm.bmWidth, 37);
    EXPECT_EQ(bm.bmHeight, 11);
    EXPECT_EQ(bm.bmWidthBytes % 4, 0);
    // The loader's direct read and the in-memory decoder agree byte for byte.
    std::vector<uint8_t> bytes = bmp_test::read_file(path("m.bmp"));
    auto decoded = plat::bmp_decode(bytes.data(), bytes.size());
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(0, std::memcmp(bm.bmBits, decoded->bits(), decoded->image_size()));
    DeleteObject(bitmap);
  }
}

TEST(BmpLoadImage, FailuresGiveNoHandle) {
  const size_t bitmaps = plat::handle_count(plat::Kind::Bitmap);
  EXPECT_EQ(load(path("missing.bmp")), 0u);
  EXPECT_EQ(load(bmp_test::folder()), 0u);  // a directory
  bmp_test::write_file(path("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(load(path("text.bmp")), 0u);
  bmp_test::write_file(path("empty.bmp"), {});
  EXPECT_EQ(load(path("empty.bmp")), 0u);
  // No resources: a resource identifier or a name without LR_LOADFROMFILE loads nothing.
  EXPECT_EQ(LoadImageA(0, MAKEINTRESOURCEA(1), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), 0u);
  bmp_test::write_ppm(path("ok.ppm"), 2, 2, bmp_test::pattern(2, 2, 4));
  ASSERT_TRUE(bmp_test::run("convert '" + path("ok.ppm") + "' -type TrueColor BMP3:'" +
                            path("ok.bmp") + "'"));
  EXPECT_EQ(load(path("ok.bmp"), LR_CREATEDIBSECTION), 0u);
  EXPECT_EQ(LoadImageA(0, path("ok.bmp").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), 0u);
  EXPECT_EQ(plat::handle_count(plat::Kind::Bitmap), bitmaps);
}

// An 8-bit run-length file of `width` x `height` with a full grey colour table and the given
// stream: 1,078 bytes of headers and table, then the stream.
std::vector<uint8_t> rle8_file(int32_t width, int32_t height, const std::vector<uint8_t>& stream,
                               bool stream_size_given = true) {
  std::vector<uint8_t> f(14 + 40 + 1024, 0);
  f[0] = 'B', f[1] = 'M';
  bmp_test::put32(f, 2, static_cast<uint32_t>(f.size() + stream.size()));
  bmp_test::put32(f, 10, static_cast<uint32_t>(f.size()));
  bmp_test::put32(f, 14, 40);
  bmp_test::put32(f, 18, static_cast<uint32_t>(width));
  bmp_test::put32(f, 22, static_cast<uint32_t>(height));
  bmp_test::put16(f, 26, 1);
  bmp_test::put16(f, 28, 8);
  bmp_test::put32(f, 30, BI_RLE8);
  bmp_test::put32(f, 34, stream_size_given ? static_cast<uint32_t>(stream.size()) : 0);
  for (int i = 0; i < 256; ++i) f[54 + 4 * i] = f[55 + 4 * i] = f[56 + 4 * i] = uint8_t(i);
  f.insert(f.end(), stream.begin(), stream.end());
  return f;
}

long peak_rss_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(BmpLoadImageHostile, SmallPictureInAHugeSparseFileReadsOnlyItsOwnBytes) {
  // A top-down and a run-length picture, each at the start of a 64 GiB file of holes.
  bmp_test::Writer top_down;
  top_down.width = 2;
  top_down.height = -2;
  top_down.bpp = 24;
  top_down.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  // Without the stream's size in the header: the stream's own end mark ends the reading.
  const std::vector<uint8_t> rle = rle8_file(4, 2, {4, 9, 0, 0, 2, 7, 2, 8, 0, 1}, false);
  int index = 0;
  for (const std::vector<uint8_t>& bytes : {top_down.bytes(), rle}) {
    SCOPED_TRACE(index);
    const std::string file = path("sparse" + std::to_string(index++) + ".bmp");
    bmp_test::write_file(file, bytes);
    ASSERT_EQ(truncate(file.c_str(), off_t{64} << 30), 0);
    const long before = peak_rss_kb();
    HBITMAP bitmap = load(file);
    ASSERT_NE(bitmap, 0u);
    EXPECT_LT(peak_rss_kb() - before, 16 * 1024) << "kB more at the peak";
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    const auto* bits = static_cast<const uint8_t*>(bm.bmBits);
    if (bm.bmBitsPixel == 24) {
      EXPECT_EQ(bits[0], 7);  // the file's last row is the bottom one
      EXPECT_EQ(bits[8], 1);
    } else {
      EXPECT_EQ(std::vector<uint8_t>(bits, bits + 8),
                (std::vector<uint8_t>{9, 9, 9, 9, 7, 7, 8, 8}));
    }
    DeleteObject(bitmap);
    unlink(file.c_str());
  }
}

TEST(BmpLoadImageHostile, LongRunLengthStreamWithoutItsSizeDecodesLikeTheWholeFile) {
  // 400 x 300 pixels as runs of one: 240,000 bytes of stream, read in several growing pieces.
  std::vector<uint8_t> stream;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) stream.insert(stream.end(), {1, uint8_t(x * 7 + y)});
    stream.insert(stream.end(), {0, 0});
  }
  stream.insert(stream.end(), {0, 1});
  const std::vector<uint8_t> bytes = rle8_file(400, 300, stream, false);
  bmp_test::write_file(path("long.bmp"), bytes);
  auto expected = plat::bmp_decode(bytes.data(), bytes.size());
  ASSERT_NE(expected, nullptr);
  HBITMAP bitmap = load(path("long.bmp"), LR_LOADFROMFILE);
  ASSERT_NE(bitmap, 0u);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(0, std::memcmp(bm.bmBits, expected->bits(), expected->image_size()));
  DeleteObject(bitmap);
  // Cut inside the stream: refused, as the whole file in memory is.
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 200000);
  bmp_test::write_file(path("cut.bmp"), cut);
  EXPECT_EQ(plat::bmp_decode(cut.data(), cut.size()), nullptr);
  EXPECT_EQ(load(path("cut.bmp")), 0u);
}

TEST(BmpLoadImageHostile, TinyRunLengthFileCannotClaimHugeMemory) {
  // 1,080 bytes: 600 million 8-bit pixels in one row, and an end-of-bitmap mark.
  const std::vector<uint8_t> bytes = rle8_file(600000000, 1, {0, 1});
  ASSERT_EQ(bytes.size(), 1080u);
  bmp_test::write_file(path("wide.bmp"), bytes);
  const long before = peak_rss_kb();
  SetLastError(0);
  EXPECT_EQ(load(path("wide.bmp")), 0u);
  EXPECT_EQ(GetLastError(), 8u);  // ERROR_NOT_ENOUGH_MEMORY
  EXPECT_LT(peak_rss_kb() - before, 16 * 1024) << "kB more at the peak";
  // Just inside the limit (8192 x 8192) still loads; one row more does not.
  bmp_test::write_file(path("limit.bmp"), rle8_file(8192, 8192, {0, 1}));
  HBITMAP limit = load(path("limit.bmp"));
  EXPECT_NE(limit, 0u);
  DeleteObject(limit);
  bmp_test::write_file(path("over.bmp"), rle8_file(8192, 8193, {0, 1}));
  EXPECT_EQ(load(path("over.bmp")), 0u);
  // Asked to resample beyond the limit: refused the same way.
  bmp_test::write_file(path("small.bmp"), rle8_file(2, 2, {0, 1}));
  SetLastError(0);
  EXPECT_EQ(load(path("small.bmp"), kTextureFlags, 65536, 65536), 0u);
  EXPECT_EQ(GetLastError(), 8u);
}

TEST(BmpLoadImageHostile, FifoIsRefusedAtOnceAndAFailingSpecialFileGivesZero) {
  const std::string fifo = path("pipe.bmp");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Run where a blocking open cannot hang the test program: the child has five seconds.
  EXPECT_EXIT(
      {
        alarm(5);
        SetLastError(0);
        const bool refused = load(fifo) == 0 && GetLastError() == 5;  // ERROR_ACCESS_DENIED
        _exit(refused && LoadCursorFromFileA(fifo.c_str()) == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  // A "regular" file whose reads fail: a load failure, the program goes on.
  EXPECT_EQ(load("/proc/self/mem"), 0u);
  EXPECT_EQ(LoadCursorFromFileA("/proc/self/mem"), 0u);
}

TEST(BmpLoadImage, TransparentFlagRecoloursTheFirstPixelsEntry) {
  bmp_test::Writer writer;
  writer.width = 4;
  writer.height = 1;
  writer.bpp = 8;
  writer.colours = {0x102030, 0x405060, 0x708090};
  writer.pixels = {2, 1, 2, 0};
  bmp_test::write_file(path("pal.bmp"), writer.bytes());
  for (bool transparent : {false, true}) {
    HBITMAP bitmap = load(path("pal.bmp"), LR_LOADFROMFILE | LR_CREATEDIBSECTION |
                                               (transparent ? LR_LOADTRANSPARENT : 0));
    ASSERT_NE(bitmap, 0u);
    HDC dc = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RGBQUAD table[256];
    ASSERT_EQ(GetDIBColorTable(dc, 0, 256, table), 3u);
    EXPECT_EQ(table[0].rgbRed, 0x10);
    EXPECT_EQ(table[1].rgbRed, 0x40);
    const COLORREF window = GetSysColor(5);
    if (transparent) {
      EXPECT_EQ(RGB(table[2].rgbRed, table[2].rgbGreen, table[2].rgbBlue), window);
    } else {
      EXPECT_EQ(table[2].rgbRed, 0x70);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
}

TEST(BmpLoadImage, RequestedSizeResamples) {
  bmp_test::Writer writer;
  writer.width = 2;
  writer.height = 2;
  writer.bpp = 4;
  writer.colours = bmp_test::palette(4);
  writer.pixels = bmp_test::pack_indices({0, 1, 2, 3}, 2, 2, 4);
  bmp_test::write_file(path("small.bmp"), writer.bytes());
  HBITMAP bitmap = load(path("small.bmp"), LR_LOADFROMFILE | LR_CREATEDIBSECTION, 4, 6);
  ASSERT_NE(bitmap, 0u);
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 6);
  EXPECT_EQ(bm.bmBitsPixel, 4);
  const uint8_t* bits = static_cast<const uint8_t*>(bm.bmBits);
  EXPECT_EQ(bits[0], 0x00);  // bottom rows: indices 0 0 1 1
  EXPECT_EQ(bits[1], 0x11);
  EXPECT_EQ(bits[5 * bm.bmWidthBytes], 0x22);  // top rows: 2 2 3 3
  EXPECT_EQ(bits[5 * bm.bmWidthBytes + 1], 0x33);
  DeleteObject(bitmap);
}

}  // namespace
