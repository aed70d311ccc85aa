// The RLE reader against a model decoder on files made of every packet kind and length (runs and
// literals of 1 to 128 pixels), long enough to cross many read-ahead refills, for both depths and
// for images that end on every kind of packet of 1 to 3 pixels: the bulk decoder writes whole words
// past a run's end and must never leave such bytes behind or write outside the image.
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "texture_test_support.h"

namespace {

using tex_test::Bytes;

struct Encoded {
  Bytes file_pixels;  // the packets
  Bytes expected;     // what they decode to, in the file's order with blue and red exchanged
};

// Packets of lengths 1..128, alternately runs and literals, in a shuffled order, `rounds` times.
Encoded MakePackets(int bpp, int rounds, std::mt19937& rng) {
  Encoded e;
  std::vector<int> lengths;
  for (int r = 0; r < rounds; ++r)
    for (int n = 1; n <= 128; ++n) lengths.push_back(n);
  std::shuffle(lengths.begin(), lengths.end(), rng);
  bool run = true;
  auto color = [&] {
    Bytes c(bpp);
    for (auto& b : c) b = uint8_t(rng());
    return c;
  };
  auto expect = [&](const Bytes& c) {
    e.expected.push_back(c[2]);
    e.expected.push_back(c[1]);
    e.expected.push_back(c[0]);
    if (bpp == 4) e.expected.push_back(c[3]);
  };
  for (int n : lengths) {
    if (run) {
      e.file_pixels.push_back(uint8_t(127 + n));
      const Bytes c = color();
      e.file_pixels.insert(e.file_pixels.end(), c.begin(), c.end());
      for (int i = 0; i < n; ++i) expect(c);
    } else {
      e.file_pixels.push_back(uint8_t(n - 1));
      for (int i = 0; i < n; ++i) {
        const Bytes c = color();
        e.file_pixels.insert(e.file_pixels.end(), c.begin(), c.end());
        expect(c);
      }
    }
    run = !run;
  }
  return e;
}

TEST(TgaRlePackets, EveryPacketLengthDecodesLikeTheModel) {
  std::mt19937 rng(128);
  tex_test::ScratchDir dir;
  for (int bpp : {3, 4}) {
    for (int rounds : {1, 3, 7}) {
      for (bool last_is_run : {false, true}) {
        for (int last : {1, 2, 3}) {
          SCOPED_TRACE(testing::Message()
                       << bpp << " bytes, " << rounds << " rounds, last packet "
                       << (last_is_run ? "a run" : "a literal") << " of " << last);
          Encoded e = MakePackets(bpp, rounds, rng);
          // A final packet of 1 to 3 pixels of the chosen kind, so the image ends exactly on it.
          const Bytes c = {9, 8, 7, 6};
          if (last_is_run) {
            e.file_pixels.push_back(uint8_t(127 + last));
            e.file_pixels.insert(e.file_pixels.end(), c.begin(), c.begin() + bpp);
          } else {
            e.file_pixels.push_back(uint8_t(last - 1));
            for (int i = 0; i < last; ++i)
              e.file_pixels.insert(e.file_pixels.end(), c.begin(), c.begin() + bpp);
          }
          for (int i = 0; i < last; ++i) {
            e.expected.insert(e.expected.end(), {7, 8, 9});
            if (bpp == 4) e.expected.push_back(6);
          }
          const size_t pixels = e.expected.size() / bpp;
          // One row: the width is the pixel count (at most 7 x 8256 + 3 < 65536).
          ASSERT_LT(pixels, 65536u);
          const std::string file = dir.Write(
              "packets.tga",
              tex_test::Concat(
                  tex_test::TgaHeader(10, uint16_t(pixels), 1, uint8_t(bpp * 8), bpp == 4 ? 8 : 0),
                  e.file_pixels));
          TGATexture texture{};
          ASSERT_TRUE(LoadTGA(texture, file.c_str()));
          ASSERT_NE(texture.ImageData, nullptr);
          size_t first_wrong = e.expected.size();
          for (size_t i = 0; i < e.expected.size() && first_wrong == e.expected.size(); ++i)
            if (texture.ImageData[i] != e.expected[i]) first_wrong = i;
          EXPECT_EQ(first_wrong, e.expected.size()) << "first wrong byte";
          std::free(texture.ImageData);
        }
      }
    }
  }
}

// Dithered pictures: nothing but runs and literals of one or two pixels, mixed at random, so the
// decoder's unchecked blocks of short packets meet every order of them, their 8-byte stores run up
// to the image's end, and the blocks stop at the edges of both read-ahead buffers (LoadTGA's and a
// stream's).
TEST(TgaRlePackets, ShortPacketsInAnyOrderDecodeLikeTheModel) {
  std::mt19937 rng(2);
  tex_test::ScratchDir dir;
  for (int bpp : {3, 4}) {
    for (int w : {1, 2, 3, 640, 1001}) {
      const int h = 150;
      SCOPED_TRACE(testing::Message() << w << " x " << h << ", " << bpp << " bytes");
      Encoded e;
      for (size_t left = size_t(w) * h; left > 0;) {
        const size_t n = std::min<size_t>(left, 1 + rng() % 2);
        Bytes c(bpp);
        for (auto& b : c) b = uint8_t(rng());
        const bool run = rng() % 2;
        e.file_pixels.push_back(uint8_t(run ? 127 + n : n - 1));
        for (size_t i = 0; i < n; ++i) {
          if (!run || i == 0) e.file_pixels.insert(e.file_pixels.end(), c.begin(), c.end());
          e.expected.insert(e.expected.end(), {c[2], c[1], c[0]});
          if (bpp == 4) e.expected.push_back(c[3]);
          if (!run)
            for (auto& b : c) b = uint8_t(rng());
        }
        left -= n;
      }
      const Bytes& expected = e.expected;
      Bytes file = tex_test::Concat(
          tex_test::TgaHeader(10, uint16_t(w), uint16_t(h), uint8_t(bpp * 8), bpp == 4 ? 8 : 0),
          e.file_pixels);
      TGATexture texture{};
      ASSERT_TRUE(LoadTGA(texture, dir.Write("short.tga", file).c_str()));
      EXPECT_TRUE(std::equal(expected.begin(), expected.end(), texture.ImageData));
      std::free(texture.ImageData);

#ifndef _WIN32  // fmemopen is POSIX: the stream half runs on Linux only
      TGATexture streamed{};
      FILE* stream = fmemopen(file.data(), file.size(), "rb");
      ASSERT_NE(stream, nullptr);
      ASSERT_TRUE(zelvo::LoadTGAStream(streamed, stream));
      EXPECT_TRUE(std::equal(expected.begin(), expected.end(), streamed.ImageData));
      std::free(streamed.ImageData);
#endif
    }
  }
}

}  // namespace
