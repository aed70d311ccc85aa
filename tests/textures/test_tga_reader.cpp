// The TGA reader on files built byte by byte: decoding, run-length packets at their limits, and
// every refusal with its one message box, the file closed and no buffer left behind.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <Zelvo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "captured_boxes.h"
#include "texture_test_support.h"
#ifndef _WIN32
#include "drop_root.h"
#endif

using namespace tex_test;

namespace {

struct Loaded {
  bool ok;
  TGATexture texture;
  std::vector<Box> boxes;
  Bytes pixels;  // a copy of ImageData on success
};

// A box's first showing opens what the system keeps for later ones (our layer's X connection, the
// dialog's resources on Windows); one box before the tests keeps that out of the counts of open
// files around each load.
class FirstBoxShown : public ::testing::Environment {
 public:
  void SetUp() override {
    CapturedBoxes boxes;
    MessageBoxA(HWND{}, "before the tests", "texture tests", MB_OK);
    ASSERT_EQ(boxes.boxes().size(), 1u);
  }
};
const auto* const first_box = ::testing::AddGlobalTestEnvironment(new FirstBoxShown);

Loaded LoadFile(const std::string& file) {
  Loaded out{};
  CapturedBoxes boxes;
  const int fds = OpenDescriptors();
  out.ok = LoadTGA(out.texture, file.c_str());
  EXPECT_EQ(OpenDescriptors(), fds) << "a descriptor was left open";
  EXPECT_EQ(fTGA, nullptr);
  out.boxes = boxes.boxes();
  if (out.ok) {
    const size_t size = size_t{out.texture.Width} * out.texture.Height * (out.texture.Bpp / 8);
    out.pixels.assign(out.texture.ImageData, out.texture.ImageData + size);
    std::free(out.texture.ImageData);
  } else {
    EXPECT_EQ(out.texture.ImageData, nullptr);
  }
  return out;
}

Loaded LoadBytes(const Bytes& bytes) {
  ScratchDir dir;
  return LoadFile(dir.Write("image.tga", bytes));
}

void ExpectRefused(const Loaded& r, const std::string& text, const std::string& caption = "ERROR") {
  EXPECT_FALSE(r.ok);
  ASSERT_EQ(r.boxes.size(), 1u);
  EXPECT_EQ(r.boxes[0].text, text);
  EXPECT_EQ(r.boxes[0].caption, caption);
  EXPECT_EQ(r.boxes[0].style, static_cast<int>(MB_OK));
}

void ExpectDecoded(const Loaded& r, const Bytes& pixels) {
  ASSERT_TRUE(r.ok) << (r.boxes.empty() ? "" : r.boxes[0].text);
  EXPECT_TRUE(r.boxes.empty());
  EXPECT_EQ(r.pixels, pixels);
}

Bytes Repeat(const Bytes& pixel, size_t n) {
  Bytes out;
  for (size_t i = 0; i < n; ++i) out.insert(out.end(), pixel.begin(), pixel.end());
  return out;
}

}  // namespace

TEST(TgaReader, UncompressedPixelsTurnFromBgrToRgb) {
  Loaded r32 = LoadBytes(Concat(TgaHeader(2, 2, 1, 32), {10, 20, 30, 40, 1, 2, 3, 4}));
  ExpectDecoded(r32, {30, 20, 10, 40, 3, 2, 1, 4});
  EXPECT_EQ(r32.texture.Typ, GLenum(GL_RGBA));
  EXPECT_EQ(r32.texture.Bpp, 32u);

  Loaded r24 = LoadBytes(Concat(TgaHeader(2, 1, 1, 24), {10, 20, 30}));
  ExpectDecoded(r24, {30, 20, 10});
  EXPECT_EQ(r24.texture.Typ, GLenum(GL_RGB));
  EXPECT_EQ(r24.texture.Bpp, 24u);
  EXPECT_EQ(r24.texture.Width, 1u);
  EXPECT_EQ(r24.texture.Height, 1u);
}

TEST(TgaReader, OddWidthRowsStayPackedAndInFileOrder) {
  // 3 x 2, 24-bit: 9 bytes per row, no padding; the first file row is the first buffer row.
  Bytes data;
  for (uint8_t i = 0; i < 18; ++i) data.push_back(i);
  Loaded r = LoadBytes(Concat(TgaHeader(2, 3, 2, 24), data));
  Bytes expected;
  for (uint8_t p = 0; p < 6; ++p)
    expected.insert(expected.end(), {uint8_t(3 * p + 2), uint8_t(3 * p + 1), uint8_t(3 * p)});
  ExpectDecoded(r, expected);
}

TEST(TgaReader, DescriptorByteIsIgnored) {
  const Bytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  Loaded bottom_up = LoadBytes(Concat(TgaHeader(2, 2, 2, 32, 0x08), data));
  Loaded top_down = LoadBytes(Concat(TgaHeader(2, 2, 2, 32, 0x20), data));
  ASSERT_TRUE(bottom_up.ok);
  ExpectDecoded(top_down, bottom_up.pixels);
}

TEST(TgaReader, GlobalsDescribeTheLastFile) {
  Loaded r = LoadBytes(Concat(TgaHeader(10, 5, 3, 32), Concat({0x80 + 14}, {1, 2, 3, 4})));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(0, std::memcmp(TGAHeader.Header, cTGAcompare, 12));
  EXPECT_EQ(TGA.Width, 5u);
  EXPECT_EQ(TGA.Heigh, 3u);
  EXPECT_EQ(TGA.Bpp, 32u);
  EXPECT_EQ(TGA.BytesPerPixel, 4u);
  EXPECT_EQ(TGA.ImageSize, 60u);
  EXPECT_EQ(TGA.Header[0], 5);
  EXPECT_EQ(TGA.Header[2], 3);
}

TEST(TgaReader, RleWorkedExample) {
  Loaded r =
      LoadBytes(Concat(TgaHeader(10, 3, 1, 24), {0x81, 0x01, 0x02, 0x03, 0x00, 0x0A, 0x0B, 0x0C}));
  ExpectDecoded(r, {0x03, 0x02, 0x01, 0x03, 0x02, 0x01, 0x0C, 0x0B, 0x0A});
}

TEST(TgaReader, RlePacketHeadersAtTheirLimits) {
  // 0: one raw pixel; 127: 128 raw pixels; 128: one copy; 255: 128 copies. 258 pixels in all,
  // as 43 x 6 so that packets run across rows.
  Bytes data = {0, 9, 8, 7, 6};
  Bytes expected = {7, 8, 9, 6};
  data.push_back(127);
  for (int i = 0; i < 128; ++i) {
    Bytes px = {uint8_t(i), uint8_t(i + 1), uint8_t(i + 2), uint8_t(255 - i)};
    data.insert(data.end(), px.begin(), px.end());
    expected.insert(expected.end(), {px[2], px[1], px[0], px[3]});
  }
  data.insert(data.end(), {128, 50, 60, 70, 80});
  expected.insert(expected.end(), {70, 60, 50, 80});
  data.insert(data.end(), {255, 1, 2, 3, 4});
  Bytes run = Repeat({3, 2, 1, 4}, 128);
  expected.insert(expected.end(), run.begin(), run.end());
  ExpectDecoded(LoadBytes(Concat(TgaHeader(10, 43, 6, 32), data)), expected);
}

TEST(TgaReader, RleRunAcrossRowsAndExactEndWithTrailingBytes) {
  // 4 x 3: one run of 12 covers all three rows; what follows the last packet is never read.
  Bytes file = Concat(TgaHeader(10, 4, 3, 24), {0x80 + 11, 5, 6, 7});
  file = Concat(file, {0xFF, 0xFF, 0xFF, 0x00, 'T', 'R', 'U', 'E', 'V'});
  ExpectDecoded(LoadBytes(file), Repeat({7, 6, 5}, 12));
}

TEST(TgaReader, RleOnePixelTooMany) {
  ExpectRefused(LoadBytes(Concat(TgaHeader(10, 2, 2, 24), {0x84, 1, 2, 3})),
                "Too many pixels read");
  ExpectRefused(
      LoadBytes(Concat(TgaHeader(10, 2, 2, 24), {0x80 + 2, 1, 2, 3, 0x01, 1, 2, 3, 4, 5, 6})),
      "Too many pixels read");
  // The excess pixel of a raw packet is read before it is refused: when it is missing, the
  // file is short, not overlong.
  ExpectRefused(LoadBytes(Concat(TgaHeader(10, 2, 2, 24), {0x80 + 2, 1, 2, 3, 0x01, 1, 2, 3, 4})),
                "Could not read image data");
}

TEST(TgaReader, RleLargeStreamAcrossReadChunks) {
  // Far more compressed data than one read-ahead window, with packets of every length and kind
  // crossing rows; the decoded image must equal the source.
  const int w = 701, h = 400, bpp = 4;
  std::mt19937 rng(1234);
  Bytes data, expected;
  size_t pixels = size_t{w} * h;
  while (pixels > 0) {
    size_t n = std::min<size_t>(pixels, 1 + rng() % 128);
    Bytes px(bpp);
    if (rng() % 2) {
      for (auto& b : px) b = rng();
      data.push_back(uint8_t(127 + n));
      data.insert(data.end(), px.begin(), px.end());
      for (size_t i = 0; i < n; ++i) expected.insert(expected.end(), {px[2], px[1], px[0], px[3]});
    } else {
      data.push_back(uint8_t(n - 1));
      for (size_t i = 0; i < n; ++i) {
        for (auto& b : px) b = rng();
        data.insert(data.end(), px.begin(), px.end());
        expected.insert(expected.end(), {px[2], px[1], px[0], px[3]});
      }
    }
    pixels -= n;
  }
  ASSERT_GT(data.size(), 2u * 256 * 1024);  // several read-ahead windows
  ExpectDecoded(LoadBytes(Concat(TgaHeader(10, w, h, 32), data)), expected);
}

TEST(TgaReader, RleTruncatedAtEveryByte) {
  // 3 x 2 image: raw 2, run 3, raw 1. Each cut of the pixel data gets the message of the field it
  // falls in.
  const Bytes data = {0x01, 1, 2, 3, 4, 5, 6, 0x82, 7, 8, 9, 0x00, 10, 11, 12};
  const Bytes header = TgaHeader(10, 3, 2, 24);
  const char* expected[] = {
      "Could not read RLE header", "Could not read image data", "Could not read image data",
      "Could not read image data", "Could not read image data", "Could not read image data",
      "Could not read image data", "Could not read RLE header", "Could not read from file",
      "Could not read from file",  "Could not read from file",  "Could not read RLE header",
      "Could not read image data", "Could not read image data", "Could not read image data"};
  ScratchDir dir;
  for (size_t cut = 0; cut < data.size(); ++cut) {
    SCOPED_TRACE(cut);
    Bytes file = Concat(header, Bytes(data.begin(), data.begin() + cut));
    ExpectRefused(LoadFile(dir.Write("cut.tga", file)), expected[cut]);
  }
  ExpectDecoded(LoadFile(dir.Write("whole.tga", Concat(header, data))),
                {3, 2, 1, 6, 5, 4, 9, 8, 7, 9, 8, 7, 9, 8, 7, 12, 11, 10});
}

TEST(TgaReader, HeaderRefusals) {
  ExpectRefused(LoadFile("/nonexistent/zelvo/none.tga"), "Could not open texture file");
  {
    // A name that exists but is no file: opened on some systems, never readable as one.
    ScratchDir dir;
    ExpectRefused(LoadFile(dir.path()), "Could not open texture file");
  }
  ExpectRefused(LoadBytes({}), "Could not read file header");
  const Bytes header = TgaHeader(2, 1, 1, 24);
  ExpectRefused(LoadBytes(Bytes(header.begin(), header.begin() + 11)),
                "Could not read file header");
  for (int type : {1, 3, 9, 11, 0, 2 + 256}) {
    Bytes h = TgaHeader(uint8_t(type), 1, 1, 24);
    if (type == 2 + 256) h[2] = 2, h[0] = 1;  // an image ID
    SCOPED_TRACE(type);
    ExpectRefused(LoadBytes(Concat(h, {1, 2, 3})), "TGA file be type 2 or type 10",
                  "Invalid Image");
  }
  for (int offset : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {  // colour map, its description, origins
    Bytes h = TgaHeader(10, 1, 1, 24);
    h[offset] = 1;
    SCOPED_TRACE(offset);
    ExpectRefused(LoadBytes(Concat(h, {0x80, 1, 2, 3})), "TGA file be type 2 or type 10",
                  "Invalid Image");
  }
}

TEST(TgaReader, ImageHeaderRefusals) {
  for (uint8_t type : {2, 10}) {
    SCOPED_TRACE(int(type));
    Bytes h = TgaHeader(type, 1, 1, 24);
    ExpectRefused(LoadBytes(Bytes(h.begin(), h.begin() + 12)), "Could not read info header");
    ExpectRefused(LoadBytes(Bytes(h.begin(), h.begin() + 17)), "Could not read info header");
    ExpectRefused(LoadBytes(TgaHeader(type, 0, 1, 24)), "Invalid texture information");
    ExpectRefused(LoadBytes(TgaHeader(type, 1, 0, 32)), "Invalid texture information");
    Loaded sixteen = LoadBytes(TgaHeader(type, 7, 9, 16));
    ExpectRefused(sixteen, "Invalid texture information");
    // Fields read before the refusal keep the file's values.
    EXPECT_EQ(sixteen.texture.Width, 7u);
    EXPECT_EQ(sixteen.texture.Height, 9u);
    EXPECT_EQ(sixteen.texture.Bpp, 16u);
    ExpectRefused(LoadBytes(TgaHeader(type, 1, 1, 8)), "Invalid texture information");
    // Byte sizes beyond what the reader can address are refused, never wrapped.
    ExpectRefused(LoadBytes(TgaHeader(type, 65535, 65535, 32)),
                  "Could not allocate memory for image");
  }
  // An uncompressed image must also fit in 31 bits: 32768 x 32768 x 3 bytes does not.
  ExpectRefused(LoadBytes(TgaHeader(2, 32768, 32768, 24)), "Could not allocate memory for image");
}

TEST(TgaReader, PixelDataRefusals) {
  Loaded short2 = LoadBytes(Concat(TgaHeader(2, 2, 2, 32), Bytes(15, 1)));
  ExpectRefused(short2, "Could not read image data");
  EXPECT_EQ(short2.texture.Typ, GLenum(GL_RGBA));
  ExpectRefused(LoadBytes(TgaHeader(2, 1, 1, 24)), "Could not read image data");
  ExpectRefused(LoadBytes(TgaHeader(10, 1, 1, 24)), "Could not read RLE header");
  ExpectRefused(LoadBytes(Concat(TgaHeader(10, 2, 1, 32), {0x01, 1, 2, 3, 4, 5})),
                "Could not read image data");
  ExpectRefused(LoadBytes(Concat(TgaHeader(10, 2, 1, 32), {0x81, 1, 2, 3})),
                "Could not read from file");
}

// LoadTGA reads ahead with the header, swaps those pixels out of its buffer and reads the rest
// straight into the image; a stream goes through a smaller buffer. Sizes around both buffers put
// their edges inside a pixel, at the end of a row and past the end of the file.
TEST(TgaReader, UncompressedImagesLargerThanTheReadAhead) {
  std::mt19937 rng(77);
  for (int bpp : {3, 4})
    for (int w : {1, 255, 256, 257, 311, 700}) {
      const int h = 700;
      SCOPED_TRACE(testing::Message() << w << " x " << h << ", " << bpp << " bytes");
      Bytes data(size_t(w) * h * bpp), expected(data.size());
      for (auto& b : data) b = uint8_t(rng());
      for (size_t i = 0; i < data.size(); i += bpp) {
        expected[i] = data[i + 2];
        expected[i + 1] = data[i + 1];
        expected[i + 2] = data[i];
        if (bpp == 4) expected[i + 3] = data[i + 3];
      }
      Bytes file = Concat(TgaHeader(2, uint16_t(w), uint16_t(h), uint8_t(bpp * 8)), data);
      ExpectDecoded(LoadBytes(file), expected);

#ifndef _WIN32  // fmemopen is POSIX
      TGATexture texture{};
      FILE* stream = fmemopen(file.data(), file.size(), "rb");
      ASSERT_NE(stream, nullptr);
      ASSERT_TRUE(zelvo::LoadTGAStream(texture, stream));
      EXPECT_EQ(fTGA, nullptr);
      EXPECT_TRUE(std::equal(expected.begin(), expected.end(), texture.ImageData));
      std::free(texture.ImageData);
#endif

      file.pop_back();  // one byte short of the last pixel
      ExpectRefused(LoadBytes(file), "Could not read image data");
    }
}

// Linux only, as the two death tests after it: they need a user to switch to, a FIFO and a file
// whose read fails (/proc/self/mem), which Windows has not.
#ifndef _WIN32
TEST(TgaReader, ReadOnlyFileLoadsBeforeAnyBmpQuery) {
  ASSERT_EQ(FileMode, 2);
  // A fresh process: the child may show a message box, which must not use the parent's connection.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ScratchDir dir;
  std::string file = dir.Write("ro.tga", Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  // Root may write any file whatever its mode, so the load runs in a child that has given up root
  // (nobody), for which the file really is read-only.
  EXPECT_EXIT(
      {
        if (!zelvo_test::drop_root()) _exit(3);
        // The test proves something only if the file cannot be opened for writing.
        if (std::fopen(file.c_str(), "r+b") != nullptr) _exit(4);
        TGATexture texture{};
        CapturedBoxes boxes;
        const bool ok = LoadTGA(texture, file.c_str()) && boxes.boxes().empty() &&
                        texture.ImageData[0] == 3 && FileMode == 2;
        _exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// TextureLoadTGAID shows LoadTGA's box for a file that is there but cannot be opened (a folder, a
// file in a folder the user may not search), and none for a missing one. None of these reaches GL.
TEST(TgaReader, TextureSlotLoadShowsTheOpenBoxUnlessTheFileIsMissing) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ScratchDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir.File("locked").c_str(), 0700), 0);
  dir.Write("locked/water3.tga", Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
  ASSERT_EQ(mkdir(dir.File("folder.tga").c_str(), 0755), 0);
  const struct {
    std::string file;
    bool box;
  } cases[] = {{dir.File("folder.tga"), true},        {dir.File("FOLDER.TGA"), true},
               {dir.File("locked/water3.tga"), true}, {dir.File("LOCKED/Water3.tga"), true},
               {dir.File("missing.tga"), false},      {dir.File("missing/water3.tga"), false}};
  EXPECT_EXIT(
      {
        if (!zelvo_test::drop_root()) _exit(3);
        bool ok = true;
        for (const auto& c : cases) {
          CapturedBoxes boxes;
          TextureLoadTGAID(c.file.c_str(), 1);
          const std::vector<Box> shown = boxes.boxes();
          const bool right = c.box ? shown.size() == 1 &&
                                         shown[0].text == "Could not open texture file" &&
                                         shown[0].caption == "ERROR"
                                   : shown.empty();
          if (!right) std::fprintf(stderr, "%s: %s\n", c.file.c_str(), boxes.texts().c_str());
          ok = ok && right && TextureTGA2[1].TexID == 0;
        }
        _exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// The open of a FIFO would wait for a writer; a loader that is refused in time exits 0 here.
TEST(TgaReaderDeathTest, FifoIsRefusedAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ScratchDir dir;
  const std::string fifo = dir.File("pipe.tga");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EXIT(
      {
        alarm(5);
        Loaded r = LoadFile(fifo);
        _exit(!r.ok && r.boxes.size() == 1 && r.boxes[0].text == "Could not open texture file" ? 0
                                                                                               : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A device error is a run-time input/output error, which ends the program with status 2.
TEST(TgaReaderDeathTest, ReadFailureOfASpecialFileIsARunTimeError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TGATexture texture{};
        CapturedBoxes boxes;
        LoadTGA(texture, "/proc/self/mem");
        _exit(0);
      },
      ::testing::ExitedWithCode(2), "input/output error in a file read");
}
#endif

TEST(TgaReader, SubReadersRefuseANullFile) {
  CapturedBoxes boxes;
  TGATexture texture{};
  fTGA = nullptr;
  EXPECT_FALSE(LoadUncompressedTGA(texture, nullptr));
  EXPECT_FALSE(LoadCompressedTGA(texture, nullptr));
  EXPECT_FALSE(zelvo::LoadTGAStream(texture, nullptr));
  ASSERT_EQ(boxes.boxes().size(), 3u);
  EXPECT_EQ(boxes.boxes()[0].text, "Could not read info header");
  EXPECT_EQ(boxes.boxes()[1].text, "Could not read info header");
  EXPECT_EQ(boxes.boxes()[2].text, "Could not read file header");
  EXPECT_EQ(texture.ImageData, nullptr);
  EXPECT_EQ(fTGA, nullptr);
}

TEST(TgaReader, LongPathIsUsedWhole) {
  ScratchDir dir;
  std::string folder = dir.path();
  // Longer than any fixed buffer of 256; Windows opens paths of MAX_PATH (260) at most.
#ifdef _WIN32
  const size_t length = MAX_PATH - 30;
#else
  const size_t length = 300;
#endif
  while (folder.size() < length) {
    folder += "/a_rather_long_folder_name";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
  }
  std::string file = folder + "/image.tga";
  FILE* f = std::fopen(file.c_str(), "wb");
  Bytes bytes = Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3});
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  ExpectDecoded(LoadFile(file), {3, 2, 1});
}
