// LoadImageA on BMP files written by ImageMagick and on hostile files, checked against our decoder
// and the handle table. The plain loading checks are shared with Windows, in tests/winapi.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include "bmp_decode.h"
#include "bmp_oracles.h"

namespace {

using bmp_test::path;

const UINT kTextureFlags = LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_CREATEDIBSECTION;

HBITMAP load(const std::string& file, UINT flags = kTextureFlags, int cx = 0, int cy = 0) {
  return LoadImageA(GetModuleHandleA(nullptr), file.c_str(), IMAGE_BITMAP, cx, cy, flags);
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

TEST(BmpLoadImage, ALoadedBitmapIsOneHandleUntilDeleted) {
  zelvo_test::BmpFile writer;
  writer.width = 3;
  writer.height = 2;
  writer.pixels.assign(24, 7);
  bmp_test::write_file(path("count.bmp"), writer.bytes());
  const size_t bitmaps = plat::handle_count(plat::Kind::Bitmap);
  HBITMAP bitmap = load(path("count.bmp"));
  ASSERT_NE(bitmap, 0u);
  EXPECT_EQ(plat::handle_count(plat::Kind::Bitmap), bitmaps + 1);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(plat::handle_count(plat::Kind::Bitmap), bitmaps);
}

// The other failures are checked in both worlds by tests/winapi/test_bmp_load_image.cpp.
TEST(BmpLoadImage, AResourceIdentifierLoadsNothing) {
  const size_t bitmaps = plat::handle_count(plat::Kind::Bitmap);
  EXPECT_EQ(LoadImageA(0, MAKEINTRESOURCEA(1), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), 0u);
  EXPECT_EQ(plat::handle_count(plat::Kind::Bitmap), bitmaps);
}

// An 8-bit run-length file of `width` x `height` with a full grey colour table and the given
// stream: 1,078 bytes of headers and table, then the stream.
std::vector<uint8_t> rle8_file(int32_t width, int32_t height, const std::vector<uint8_t>& stream,
                               bool stream_size_given = true) {
  std::vector<uint8_t> f(14 + 40 + 1024, 0);
  f[0] = 'B', f[1] = 'M';
  zelvo_test::set32(f, 2, static_cast<uint32_t>(f.size() + stream.size()));
  zelvo_test::set32(f, 10, static_cast<uint32_t>(f.size()));
  zelvo_test::set32(f, 14, 40);
  zelvo_test::set32(f, 18, static_cast<uint32_t>(width));
  zelvo_test::set32(f, 22, static_cast<uint32_t>(height));
  zelvo_test::set16(f, 26, 1);
  zelvo_test::set16(f, 28, 8);
  zelvo_test::set32(f, 30, BI_RLE8);
  zelvo_test::set32(f, 34, stream_size_given ? static_cast<uint32_t>(stream.size()) : 0);
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
  zelvo_test::BmpFile top_down;
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

// A loaded palette bitmap's table has the entries of the file (Wine's may have more).
TEST(BmpLoadImage, LoadedColourTableHasTheFilesEntries) {
  zelvo_test::BmpFile writer;
  writer.width = 4;
  writer.height = 1;
  writer.bpp = 8;
  writer.colours = {0x102030, 0x405060, 0x708090};
  writer.pixels = {2, 1, 2, 0};
  bmp_test::write_file(path("pal3.bmp"), writer.bytes());
  HBITMAP bitmap = load(path("pal3.bmp"), LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  ASSERT_NE(bitmap, 0u);
  HDC dc = CreateCompatibleDC(0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RGBQUAD table[256];
  EXPECT_EQ(GetDIBColorTable(dc, 0, 256, table), 3u);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// Our resampling takes the nearest source pixel by centre; Windows names no kernel.
TEST(BmpLoadImage, RequestedSizeResamplesByNearestCentre) {
  zelvo_test::BmpFile writer;
  writer.width = 2;
  writer.height = 2;
  writer.bpp = 4;
  writer.colours = bmp_test::palette(4);
  writer.pixels = zelvo_test::bmp_pack_indices({0, 1, 2, 3}, 2, 2, 4);
  bmp_test::write_file(path("small.bmp"), writer.bytes());
  HBITMAP bitmap = load(path("small.bmp"), LR_LOADFROMFILE | LR_CREATEDIBSECTION, 4, 6);
  ASSERT_NE(bitmap, 0u);
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  const uint8_t* bits = static_cast<const uint8_t*>(bm.bmBits);
  EXPECT_EQ(bits[0], 0x00);  // bottom rows: indices 0 0 1 1
  EXPECT_EQ(bits[1], 0x11);
  EXPECT_EQ(bits[5 * bm.bmWidthBytes], 0x22);  // top rows: 2 2 3 3
  EXPECT_EQ(bits[5 * bm.bmWidthBytes + 1], 0x33);
  DeleteObject(bitmap);
}

}  // namespace
